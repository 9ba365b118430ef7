#include "ui/map_geometry.hpp"

#include <cmath>

namespace vantora::ui::map {

double longitude_at(float x, const MapScale& scale) {
    return scale.lon_origin + x * scale.lon_per_pixel;
}

float latitude_at(float y, const MapScale& scale) {
    const float step = scale.lat_per_pixel * y;
    const float lat = scale.lat_origin - step;
    return lat;
}

Pixel pixel_at(double lon, double lat, const MapScale& scale) {
    return {static_cast<int>(std::lround((lon - scale.lon_origin) / scale.lon_per_pixel)),
            static_cast<int>(std::lround((scale.lat_origin - lat) / scale.lat_per_pixel))};
}

bool on_picture(Pixel pixel) {
    return pixel.x >= 0 && pixel.x < kMapSide && pixel.y >= 0 && pixel.y < kMapSide;
}

} // namespace vantora::ui::map
