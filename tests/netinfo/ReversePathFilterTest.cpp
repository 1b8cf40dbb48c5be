// The reverse-path filter that applies to an adapter, from a /proc tree made
// in a temporary folder.
#include "ReversePathFilter.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using quill::netinfo::EffectiveReversePathFilter;

TEST(ReversePathFilter, IsTheLargerOfAllAndTheAdaptersOwn)
{
    struct Case {
        const char* all; // nullptr: no such file
        const char* own;
        std::string name;
        std::optional<int> expected;
    };
    const Case cases[] = {
        { "0\n", "0\n", "eth0", 0 },
        { "2\n", "0\n", "eth0", 2 },
        { "0\n", "1\n", "eth0", 1 },
        { nullptr, "1\n", "eth0", 1 },
        { "2\n", nullptr, "eth0", std::nullopt },
        { "2\n", "one\n", "eth0", std::nullopt },
        { "2\n", "0\n", "../eth0", std::nullopt },
    };
    for (const Case& c : cases) {
        const quill::test::TempDir proc;
        const auto conf = proc.path() / "sys/net/ipv4/conf";
        std::filesystem::create_directories(conf / "all");
        std::filesystem::create_directories(conf / "eth0");
        if (c.all)
            quill::test::WriteWholeFile(conf / "all/rp_filter", c.all);
        if (c.own)
            quill::test::WriteWholeFile(conf / "eth0/rp_filter", c.own);
        EXPECT_EQ(EffectiveReversePathFilter(c.name, proc.path()), c.expected)
            << c.name << ' ' << (c.all ? c.all : "-") << (c.own ? c.own : "-");
    }
}
