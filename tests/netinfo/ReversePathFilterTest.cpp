// The reverse-path filter that applies to an adapter, from a /proc tree in a
// temporary folder (the namespace test reads the real one).
#include "ReversePathFilter.h"
#include "TempDir.h"

#include <gtest/gtest.h>

TEST(ReversePathFilter, IsTheLargerOfAllAndTheAdaptersOwn)
{
    using Case = std::tuple<const char*, const char*, std::string, std::optional<int>>; // "": no file
    for (const auto& [all, own, name, expected] :
        { Case { "2\n", "0\n", "eth0", 2 }, Case { "0\n", "1\n", "eth0", 1 }, Case { "", "1\n", "eth0", 1 },
            Case { "2\n", "", "eth0", std::nullopt }, Case { "2\n", "one\n", "eth0", std::nullopt },
            Case { "2\n", "0\n", "../eth0", std::nullopt } }) {
        const quill::test::TempDir proc;
        for (const auto& [conf, value] : { std::pair { "all", all }, std::pair { "eth0", own } }) {
            std::filesystem::create_directories(proc.path() / "sys/net/ipv4/conf" / conf);
            if (*value)
                quill::test::WriteWholeFile(proc.path() / "sys/net/ipv4/conf" / conf / "rp_filter", value);
        }
        EXPECT_EQ(quill::netinfo::EffectiveReversePathFilter(name, proc.path()), expected)
            << all << '|' << own << name;
    }
}
