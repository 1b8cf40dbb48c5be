#pragma once

namespace quill::cli {

// The command line's documented exit statuses.
enum ExitStatus : int {
    kExitPassed = 0, // everything passed (and, for discovery, a camera answered)
    kExitFailed = 1, // a check failed, no camera answered, or the system could not be read
    kExitBadUsage = 2, // unknown option or command, a malformed value
    kExitPortInUse = 3, // the discovery port is held by another program
    kExitInterrupted = 130, // Ctrl-C (SIGINT): what was found is printed, no partial file written
};

} // namespace quill::cli
