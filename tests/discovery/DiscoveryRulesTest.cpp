// The discovery engine's rules on their own, without sockets or root: typed
// ranges, the result orders, the settle rule, why no camera answered and what
// the status line then says.
#include "CameraList.h"
#include "DiscoveryEngine.h"
#include "ResultOrder.h"
#include "SettleRule.h"

#include <gtest/gtest.h>

#include <variant>

namespace {

using namespace quill::discovery;
using namespace std::chrono_literals;

TEST(DiscoveryRules, TypedRangesAreTakenStrictly)
{
    struct Case {
        const char* typed;
        std::variant<DiscoveryRange, std::string> expected;
    };
    const Case cases[] {
        { "192.168.1.2-99", DiscoveryRange { { 192, 168, 1, 2 }, { 192, 168, 1, 99 } } },
        { "192.168.1.2-192.168.1.255", DiscoveryRange { { 192, 168, 1, 2 }, { 192, 168, 1, 255 } } },
        { "10.0.0.7", DiscoveryRange { { 10, 0, 0, 7 }, { 10, 0, 0, 7 } } },
        { "192.168.1.2-192.168.2.9", "192.168.1.2-192.168.2.9 is wider than a /24 network" },
        { "192.168.1.9-2", "192.168.1.9-192.168.1.2 ends below its start" },
        { "192.168.1.2-256", "\"256\" is no end address or last octet" },
        { "192.168.1.2-+5", "\"+5\" is no end address or last octet" },
        { "192.168.1.2-", "\"\" is no end address or last octet" },
        { "camera-5", "\"camera\" is no IPv4 address" },
        { "", "\"\" is no IPv4 address" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseRange(c.typed), c.expected) << c.typed;
    // The window's rule never leaves the begin's /24.
    EXPECT_EQ(RangeWithin24({ 10, 0, 5, 9 }, { 172, 16, 1, 3 }),
        (DiscoveryRange { { 10, 0, 5, 9 }, { 10, 0, 5, 3 } }));
    EXPECT_EQ(FormatRange(NetworkOf({ 198, 18, 0, 77 })), "198.18.0.0-255");
}

TEST(DiscoveryRules, ColumnsSortInTheirNaturalOrderAndOddTextsLast)
{
    using Compare = int (*)(std::string_view, std::string_view);
    struct Case {
        Compare compare;
        const char *first, *second;
    };
    const Case cases[] {
        { CompareNumberTexts, "9", "10" },
        { CompareAddressTexts, "198.18.0.9", "198.18.0.10" },
        { CompareAddressTexts, "9.255.255.255", "10.0.0.0" },
        { CompareAddressTexts, "198.18.0.10", "camera" },
        { CompareMacTexts, "00-11-22-33-44-0A", "00:11:22:33:44:0b" },
        { CompareMacTexts, "ff:ff:ff:ff:ff:ff", "zz" },
        { CompareVersionTexts, "1.9", "1.10" },
        { CompareVersionTexts, "2.1.7", "10.0" },
    };
    for (const Case& c : cases) {
        EXPECT_LT(c.compare(c.first, c.second), 0) << c.first << " / " << c.second;
        EXPECT_GT(c.compare(c.second, c.first), 0) << c.second << " / " << c.first;
    }
}

TEST(DiscoveryRules, ASearchSettlesAfterAQuietSpellAndAtTheLatestAtItsLimit)
{
    const SettleTiming timing { 2000ms, 5000ms };
    const std::pair<std::chrono::milliseconds, std::chrono::milliseconds> cases[] { { 0ms, 2000ms },
        { 1200ms, 3200ms }, { 2999ms, 4999ms }, { 4000ms, 5000ms }, { -50ms, 2000ms } };
    for (const auto& [lastAnswer, settles] : cases)
        EXPECT_EQ(SettlesAt(timing, lastAnswer), settles) << lastAnswer.count();
}

TEST(DiscoveryRules, WhyNoCameraAnsweredIsTheFirstCauseThatHolds)
{
    SearchFacts facts;
    facts.listenPort = 1334;
    facts.sweep.attempted = 256;
    facts.begin = { 198, 18, 0, 0 };
    facts.end = { 198, 18, 0, 255 };
    facts.adapterName = "198.18.0.1 (eth0)";
    facts.adapterAddresses = { { 10, 0, 0, 2 }, { 198, 18, 0, 1 } };
    facts.carrier = true;
    EXPECT_EQ(DiagnoseNoAnswer(facts), NoAnswerCause::NobodyThere);
    facts.arpAnswered = 2;
    EXPECT_EQ(NoAnswerText(0, DiagnoseNoAnswer(facts), facts),
        "No camera answered, but 2 devices in the range answered ARP: check that this PC lets UDP port 1334 "
        "in, "
        "or that the cameras belong to this product line.");
    facts.carrier = false;
    EXPECT_EQ(DiagnoseNoAnswer(facts), NoAnswerCause::NoCarrier);
    facts.adapterAddresses = { { 198, 18, 1, 1 } };
    EXPECT_EQ(NoAnswerText(0, DiagnoseNoAnswer(facts), facts),
        "No camera answered: the range 198.18.0.0 – 198.18.0.255 is not on the network of adapter 198.18.0.1 "
        "(eth0).");
    facts.sweep.failed = 256;
    EXPECT_EQ(DiagnoseNoAnswer(facts), NoAnswerCause::NothingSent);
    facts.listening = false;
    EXPECT_EQ(DiagnoseNoAnswer(facts), NoAnswerCause::ListenerDown);
}

TEST(DiscoveryRules, StatusLineCountsCamerasAndTheAnswersAFullListTurnedAway)
{
    DiscoveryEngine engine({ .cameraLimit = 2 });
    EXPECT_EQ(engine.StatusText(0), "");
    // One MAC under two addresses: a problem of both cameras.
    for (const char* answer : { "10.0.0.1", "10.0.0.2", "10.0.0.1", "10.0.0.3", "10.0.0.4" })
        engine.Accept({ answer, "s", "m", "n", "f" }, {});
    engine.TakeAnswers();
    EXPECT_EQ(engine.StatusText(0),
        "2 cameras answered; 2 answers ignored: the list holds at most 2 cameras; 2 cameras with problems");
    EXPECT_EQ(
        engine.StatusText(2), "2 台摄像机回应；已忽略 2 个回应：列表最多列出 2 台摄像机；2 台摄像机有问题");
    engine.Clear();
    engine.Accept({ "10.0.0.1", "s", "m", "n", "f" }, {});
    engine.TakeAnswers();
    EXPECT_EQ(engine.StatusText(1), "1 台攝影機回應");
}

} // namespace
