#include "SearchStatus.h"

#include "StatusFormat.h"

#include <algorithm>
#include <array>
#include <cerrno>

namespace quill::discovery {

namespace {

    using namespace status;
    const Texts kQuery { "query", "個查詢", "个查询" };
    const Texts kQueries { "queries", "個查詢", "个查询" };

} // namespace

NoAnswerCause DiagnoseNoAnswer(const SearchFacts& facts)
{
    if (!facts.listening)
        return NoAnswerCause::ListenerDown;
    if (facts.sweep.attempted > 0 && facts.sweep.sent() == 0)
        return NoAnswerCause::NothingSent;
    const bool onNetwork = std::any_of(facts.adapterAddresses.begin(), facts.adapterAddresses.end(),
        [&](const Ipv4Octets& a) { return std::equal(a.begin(), a.begin() + 3, facts.begin.begin()); });
    if (!onNetwork)
        return NoAnswerCause::OffNetwork;
    if (facts.carrier == false)
        return NoAnswerCause::NoCarrier;
    return facts.arpAnswered > 0 ? NoAnswerCause::OnlyArp : NoAnswerCause::NobodyThere;
}

std::string SearchingText(int language, const Ipv4Octets& begin, const Ipv4Octets& end, int cameras)
{
    return Format({ "Searching %1% – %2% … %3%", "正在搜尋 %1% – %2% … %3%", "正在搜寻 %1% – %2% … %3%" },
        language, FormatIpv4(begin), FormatIpv4(end), Count(language, cameras, kCamera, kCameras));
}

std::string OutcomeText(int language, int cameras, const SweepOutcome* sweep)
{
    std::string text = Format(
        { "%1% answered", "%1%回應", "%1%回应" }, language, Count(language, cameras, kCamera, kCameras));
    if (!sweep)
        return text;
    text += Format({ "; %1% sent", "；已送出 %1%", "；已发送 %1%" }, language,
        Count(language, sweep->sent(), kQuery, kQueries));
    if (sweep->failed > 0) {
        text += Format({ "; %1% could not be sent: %2%", "；%1%無法送出：%2%", "；%1%无法发送：%2%" },
            language, Count(language, sweep->failed, kQuery, kQueries),
            SendErrorName(language, sweep->firstErrorCode));
    }
    return text;
}

std::string IgnoredText(int language, int ignored, int limit)
{
    return Format({ "; %1% ignored: the list holds at most %2% cameras",
                      "；已略過 %1%：清單最多列出 %2% 台攝影機", "；已忽略 %1%：列表最多列出 %2% 台摄像机" },
        language,
        Count(language, ignored, { "answer", "個回應", "个回应" }, { "answers", "個回應", "个回应" }), limit);
}

std::string NoAnswerText(int language, NoAnswerCause cause, const SearchFacts& facts)
{
    switch (cause) {
    case NoAnswerCause::ListenerDown:
        return Format({ "No camera can answer: UDP port %1% is held by another program (port conflict).",
                          "沒有攝影機能回應：UDP 連接埠 %1% 已被其他程式占用（連接埠衝突）。",
                          "没有摄像机能回应：UDP 端口 %1% 已被其他程序占用（端口冲突）。" },
            language, facts.listenPort);
    case NoAnswerCause::NothingSent: {
        std::string text
            = Format({ "No query could be sent: %1%.", "無法送出任何查詢：%1%。", "无法发送任何查询：%1%。" },
                language, SendErrorName(language, facts.sweep.firstErrorCode));
        if (facts.sweep.firstErrorCode == boost::system::errc::operation_not_permitted) {
            text += Format({ " A local firewall blocks outgoing UDP.", "本機防火牆阻擋了送出的 UDP。",
                               "本机防火墙阻挡了发出的 UDP。" },
                language);
        }
        return text;
    }
    case NoAnswerCause::OffNetwork:
        return Format({ "No camera answered: the range %1% – %2% is not on the network of adapter %3%.",
                          "沒有攝影機回應：範圍 %1% – %2% 不在網路卡 %3% 的網路上。",
                          "没有摄像机回应：范围 %1% – %2% 不在网卡 %3% 的网络上。" },
            language, FormatIpv4(facts.begin), FormatIpv4(facts.end), facts.adapterName);
    case NoAnswerCause::NoCarrier:
        return Format({ "No camera answered: adapter %1% has no link; check the cable.",
                          "沒有攝影機回應：網路卡 %1% 沒有連線，請檢查網路線。",
                          "没有摄像机回应：网卡 %1% 没有连接，请检查网线。" },
            language, facts.adapterName);
    case NoAnswerCause::OnlyArp:
        return Format(
            { "No camera answered, but %1% in the range answered ARP: check that this PC lets UDP port "
              "%2% in, or that the cameras belong to this product line.",
                "沒有攝影機回應，但範圍內有 %1%回應了 ARP：請確認本機允許 UDP 連接埠 %2% "
                "輸入，或確認攝影機屬於本產品系列。",
                "没有摄像机回应，但范围内有 %1%回应了 ARP：请确认本机允许 UDP 端口 %2% "
                "输入，或确认摄像机属于本产品系列。" },
            language,
            Count(language, facts.arpAnswered, { "device", "台裝置", "台设备" },
                { "devices", "台裝置", "台设备" }),
            facts.listenPort);
    case NoAnswerCause::NobodyThere:
        break;
    }
    return Format(
        { "No device in the range answered: check the cable and the network.",
            "範圍內沒有任何裝置回應：請檢查網路線與網路。", "范围内没有任何设备回应：请检查网线与网络。" },
        language);
}

std::string SendErrorName(int language, const boost::system::error_code& error)
{
    struct Name {
        int code;
        Texts texts;
    };
    static const Name kNames[] {
        { ENETUNREACH, { "network unreachable", "網路無法連線", "网络无法连接" } },
        { EHOSTUNREACH, { "host unreachable", "主機無法連線", "主机无法连接" } },
        { EPERM, { "operation not permitted", "不允許的操作", "不允许的操作" } },
        { EACCES, { "permission denied", "權限不足", "权限不足" } },
        { ENETDOWN, { "network is down", "網路已關閉", "网络已关闭" } },
    };
    if (error.category() == boost::system::system_category()) {
        for (const Name& name : kNames) {
            if (error.value() == name.code)
                return Pick(name.texts, language);
        }
    }
    return error.message();
}

} // namespace quill::discovery
