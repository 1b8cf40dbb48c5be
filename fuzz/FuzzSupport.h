#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// A property of a fuzz target. Unlike assert it stays on in release builds; the
// abort is what libFuzzer and the corpus replay both report as a failure.
#define QUILL_FUZZ_CHECK(...)                                                                                \
    ((__VA_ARGS__) ? void() : (std::fprintf(stderr, "failed: %s\n", #__VA_ARGS__), std::abort()))

// Targets that need several texts take them from the input one line each.
inline std::string_view TakeLine(std::string_view& input)
{
    const std::size_t end = std::min(input.find('\n'), input.size());
    const std::string_view line = input.substr(0, end);
    input.remove_prefix(std::min(end + 1, input.size()));
    return line;
}
