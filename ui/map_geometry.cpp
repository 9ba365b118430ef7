#include "ui/map_geometry.hpp"

namespace vantora::ui::map {

double longitude_at(float x, const MapScale& scale) {
    return scale.lon_origin + x * scale.lon_per_pixel;
}

float latitude_at(float y, const MapScale& scale) {
    const float step = scale.lat_per_pixel * y;
    const float lat = scale.lat_origin - step;
    return lat;
}

} // namespace vantora::ui::map
