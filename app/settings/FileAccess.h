#pragma once

#include <string>
#include <string_view>

// Whole-file reading and replacing for the settings file.
namespace quill::settings {

enum class ReadStatus {
    Read,
    Missing, // no file of that name
    Failed, // exists but cannot be read as a regular file
};

struct FileBytes {
    ReadStatus status = ReadStatus::Missing;
    std::string bytes;
};

FileBytes ReadFileBytes(const std::string& path);

// Replaces the file's contents whole or not at all: the bytes go into a
// temporary file in the same directory, which is then renamed over the file.
// An existing file keeps its permission bits; a link is followed to its target.
// Returns false, with the file unchanged, when any step fails.
bool ReplaceFileContents(const std::string& path, std::string_view bytes);

} // namespace quill::settings
