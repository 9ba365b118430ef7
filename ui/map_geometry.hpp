// The map of Japan's linear scale: pointer pixels to longitude and latitude.
#pragma once

namespace vantora::ui::map {

/// Width and height of the map picture, pixels (it is shown unscaled).
inline constexpr int kMapSide = 500;

/// Longitude of the centre of pixel column 0, degrees east.
inline constexpr double kLonOrigin = 121.39834;
/// Longitude step, degrees per pixel column.
inline constexpr double kLonPerPixel = 0.0514679;
/// Latitude of the centre of pixel row 0, degrees north, held in single precision
/// (49.0019416809082).
inline constexpr float kLatOrigin = 49.00194f;
/// Latitude step, degrees per pixel row, single precision (0.0514678992331028).
inline constexpr float kLatPerPixel = 0.0514679f;

/// The scale the window works with; it is set back to the constants above on every activation.
struct MapScale {
    double lon_origin = kLonOrigin;
    double lon_per_pixel = kLonPerPixel;
    float lat_origin = kLatOrigin;
    float lat_per_pixel = kLatPerPixel;
};

/// Longitude, degrees east, under pixel column x (any x: columns outside 0..499 extrapolate).
double longitude_at(float x, const MapScale& scale = {});

/// Latitude, degrees north, under pixel row y; every intermediate is a single-precision value.
float latitude_at(float y, const MapScale& scale = {});

/// A pixel of the picture: column x and row y, 0 at the top-left corner.
struct Pixel {
    int x = 0;
    int y = 0;
    friend bool operator==(const Pixel&, const Pixel&) = default;
};

/// The pixel nearest to a point at lon (degrees east) and lat (degrees north) by the scale; it
/// lies off the picture for a point outside its span (Ogasawara, east of 147.1° E).
Pixel pixel_at(double lon, double lat, const MapScale& scale = {});

/// Whether a pixel lies on the picture (0 ≤ x, y < kMapSide).
bool on_picture(Pixel pixel);

} // namespace vantora::ui::map
