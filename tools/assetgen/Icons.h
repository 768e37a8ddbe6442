#pragma once
#include <filesystem>

namespace assetgen {

// The application icon (a crescent moon and stars over a dark hill, a red
// crosshair in front) at 16, 32, 48, 64, 128 and 256 pixels, written as
// folder/hicolor/NxN/apps/night-shooter.png, the layout of the freedesktop
// icon theme, so the package installs the hicolor folder as it is.
void writeIcons(const std::filesystem::path& folder);

}  // namespace assetgen
