#include "store/window_geometry.h"

#include <algorithm>

namespace store {

WindowGeometry ReadWindowGeometry(const Settings& settings, const WindowGeometry& designed) {
    WindowGeometry geometry = designed;
    geometry.x = settings.GetSettingNumber(Key::WindowX, designed.x);
    geometry.y = settings.GetSettingNumber(Key::WindowY, designed.y);
    if (geometry.x < 0 || geometry.y < 0) {
        geometry.x = 0;
        geometry.y = 40;
    }
    if (!settings.GetSettingText(Key::WIDTH, QString()).isEmpty()) {
        geometry.width = std::max(kMinimumWindowWidth, settings.GetSettingNumber(Key::WIDTH, 0));
        geometry.height = settings.GetSettingNumber(Key::HEIGHT, 0);
        if (geometry.height < kLowestWindowHeight) geometry.height = kRaisedWindowHeight;
    }
    return geometry;
}

}  // namespace store
