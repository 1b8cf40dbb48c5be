#pragma once

#include "SeverityLevel.h"

#include <cstdint>
#include <filesystem>
#include <functional>

// The configuration of the diagnostic log, apart from the Logger singleton so
// that tests can set it up with a small rotation size or their own clock.
namespace quill::log {

inline constexpr char kLogName[] = "Tessory Tool";
inline constexpr char kLogFolder[] = "logs";
inline constexpr std::uintmax_t kRotationSizeMiB = 10;
inline constexpr std::uintmax_t kMiB = 1024 * 1024;
inline constexpr std::uintmax_t kLogFolderMaxSize = 16 * kMiB;
inline constexpr std::uintmax_t kMinimumFreeSpace = 100 * kMiB;
inline constexpr mirelo::severity_level kMinimumSeverity = mirelo::debug;

// Where the log goes. The current file is written in directory, and finished
// files are collected in kLogFolder below it; an empty directory stands for
// the working directory at set-up. Either sink may be left out: a front end
// whose standard streams carry its output takes the std::clog copy away.
struct LogPlace {
    std::filesystem::path directory;
    bool toFile = true;
    bool toClog = true;
};

// Asked before each record after the first of a file: true when the file's
// time is over and the record must go into a new file.
using TimeRotationCheck = std::function<bool()>;

// Attaches the std::clog sink and the rotating file sink that the place asks
// for to the logging core. Logger::instance() calls this once with
// kRotationSizeMiB MiB and a check for every local midnight. A log file that
// cannot be made, collected or written is told once on stderr, and records go
// on to std::clog alone (if it is a sink); no failure of the log reaches the
// caller of a write. Nothing is left attached when it throws.
void SetUpLogging(const LogPlace& place, std::uintmax_t rotationSizeBytes, TimeRotationCheck timeRotation);

// Flushes and removes every sink; the file sink's backend then closes the
// current file and moves it into kLogFolder.
void ShutDownLogging();

// True between SetUpLogging(), when it attached a sink, and ShutDownLogging().
// Without any sink Boost.Log prints records to stdout through a default sink
// of its own, so records are only written while ours are attached.
bool SinksAttached();

} // namespace quill::log
