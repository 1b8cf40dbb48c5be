#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quill::cli {

enum class OutputFormat { Table, Csv, Json };

// What the user asked for, once the words are checked.
struct Invocation {
    std::string command; // "adapters", "discover", "check" or "report"
    // --lang as a language number (0 English, 1 Traditional Chinese, 2
    // Simplified Chinese); none: Config.ini's.
    std::optional<int> language;
    OutputFormat format = OutputFormat::Table;

    // check: hosts given on the command line (none: Config.ini's or the
    // product's), and which of the three runs to make.
    std::optional<std::string> rcsHost, cloudHost, ntpHost;
    bool checkPorts = true, checkCloud = true, checkNtp = true;

    // discover and report: the adapter by interface name or a typed range
    // (none: the adapter of the default route, its whole /24), and how long
    // to listen after the sweep (none: until the search settles).
    std::optional<std::string> adapter, range;
    std::optional<double> waitSeconds;
    // report: the file to write; its extension (.html or .json) says how.
    std::string out;
    // --strict: a warning fails the command as a failure does.
    bool strict = false;
};

// Either an invocation to run, or what to print and the status to end with:
// help and version on stdout with status 0, a one-line error on stderr with
// status 2.
struct ParsedArguments {
    std::optional<Invocation> invocation;
    int exitStatus = 0;
    std::string text;
};

ParsedArguments ParseArguments(const std::vector<std::string>& arguments);

std::string HelpText();

} // namespace quill::cli
