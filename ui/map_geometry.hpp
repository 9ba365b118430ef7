// The map of Japan's linear scale: pointer pixels to longitude and latitude, and a chosen
// longitude to the time difference from Japan Standard Time (135° E).
#pragma once

#include <string>
#include <string_view>

namespace vantora::ui::map {

/// Longitude of the centre of pixel column 0, degrees east.
inline constexpr double kLonOrigin = 121.39834;
/// Longitude step, degrees per pixel column.
inline constexpr double kLonPerPixel = 0.0514679;
/// Latitude of the centre of pixel row 0, degrees north, held in single precision
/// (49.0019416809082).
inline constexpr float kLatOrigin = 49.00194f;
/// Latitude step, degrees per pixel row, single precision (0.0514678992331028).
inline constexpr float kLatPerPixel = 0.0514679f;
/// The standard meridian of Japanese time, degrees east.
inline constexpr double kStandardMeridian = 135.0;
/// Minutes of time per degree of longitude (the Earth turns 360° in 1440 minutes).
inline constexpr double kMinutesPerDegree = 4.0;

/// The scale the window works with; it is set back to the constants above on every activation.
struct MapScale {
    double lon_origin = kLonOrigin;
    double lon_per_pixel = kLonPerPixel;
    float lat_origin = kLatOrigin;
    float lat_per_pixel = kLatPerPixel;
};

/// An angle split into whole degrees, minutes and seconds by repeated flooring.
struct Dms {
    int degrees = 0;
    int minutes = 0;
    int seconds = 0;
    friend bool operator==(const Dms&, const Dms&) = default;
};

/// Longitude, degrees east, under pixel column x (any x: columns outside 0..499 extrapolate).
double longitude_at(float x, const MapScale& scale = {});

/// Latitude, degrees north, under pixel row y; every intermediate is a single-precision value.
float latitude_at(float y, const MapScale& scale = {});

/// Splits in double precision: d = ⌊a⌋, m = (a − d)·60, s = (m − ⌊m⌋)·60, seconds ⌊s⌋.
Dms split_dms(double degrees);

/// The same split with every intermediate stored in single precision.
Dms split_dms(float degrees);

/// Longitude from the three shown texts: deg + min/60 + sec/3600, each text read by its leading
/// number (an empty or non-numeric text counts as 0).
double longitude_from_texts(std::string_view degrees, std::string_view minutes, std::string_view seconds);

/// The texts for the time-difference boxes of a longitude (degrees east).
struct TimeDifferenceTexts {
    std::string minutes; ///< v = (lon − 135)·4 truncated toward zero; "-0" for −1 < v < 0
    std::string seconds; ///< whole seconds of the fraction of |v|, 0..59, never signed
    friend bool operator==(const TimeDifferenceTexts&, const TimeDifferenceTexts&) = default;
};

/// Time difference of local mean time at lon from Japan Standard Time, east positive. A place
/// less than a minute west of 135° E gets "-0" so that its seconds are read as west.
TimeDifferenceTexts time_difference_texts(double lon);

} // namespace vantora::ui::map
