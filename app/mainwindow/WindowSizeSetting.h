#pragma once

#include <QSize>

#include <optional>
#include <string>

namespace quill::app {

// The main window's size as the user left it, in the settings file's section
// "window" (keys "Width" and "Height", pixels). Nothing when it was never
// stored or does not read as a size.
std::optional<QSize> ReadWindowSize(const std::string& settingsPath);
// Writes only those two keys; false when the file cannot be written.
bool WriteWindowSize(const std::string& settingsPath, const QSize& size);

} // namespace quill::app
