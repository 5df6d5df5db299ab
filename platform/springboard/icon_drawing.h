// The pictures of the host: application icons (a rounded square in the application's colour
// with a white glyph), the generic icon, the system alert icon and card thumbnails.
#pragma once

#include "uikit/geometry.h"

#include <memory>
#include <string>

class UIImage;

namespace springboard {

struct InstalledApplication;

// Icon formats: 0 small (29 points, list rows), 1 search (40 points), 2 home screen (60 points).
// Other formats are drawn at the home-screen size.
enum IconFormat : long { kIconFormatSmall = 0, kIconFormatSearch = 1, kIconFormatHomeScreen = 2 };
CGFloat iconSide(long format);

// Scale 0 (or less) means the main screen's scale.
std::shared_ptr<UIImage> drawApplicationIcon(const InstalledApplication& application, long format, CGFloat scale);
// A grey rounded square: the icon of an unknown (or no) application.
std::shared_ptr<UIImage> drawGenericApplicationIcon(long format, CGFloat scale);
// A rounded square with an exclamation mark.
std::shared_ptr<UIImage> drawSystemAlertIcon(CGFloat scale);
// A 60 × 40 card with its title's first letter.
std::shared_ptr<UIImage> drawCardThumbnail(const std::string& title, CGFloat scale);

} // namespace springboard
