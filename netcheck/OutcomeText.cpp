#include "OutcomeText.h"

#include <boost/format.hpp>

#include <array>
#include <cmath>

namespace quill::netcheck {

namespace {

    using Texts = std::array<const char*, 3>;

    // Indexed by ProbeReason; "%s" takes the detail.
    constexpr std::array<Texts, kProbeReasonCount> kReasons { {
        { "Connected", "已連線", "已连接" },
        { "Refused: the host answered, the port is closed", "拒絕：主機有回應，連接埠已關閉",
            "拒绝：主机有响应，端口已关闭" },
        { "No answer within %s ms", "%s 毫秒內無回應", "%s 毫秒内无响应" },
        { "No route: this PC has no route (gateway) to the host", "無路由：本電腦沒有通往主機的路由（閘道）",
            "无路由：本电脑没有通往主机的路由（网关）" },
        { "Host unreachable: a router or firewall answered that the host cannot be reached",
            "主機無法連線：路由器或防火牆回應無法到達主機", "主机无法访问：路由器或防火墙回应无法到达主机" },
        { "Blocked by this PC's own route or firewall: %s", "被本電腦的路由或防火牆阻擋：%s",
            "被本电脑的路由或防火墙阻止：%s" },
        { "Name not found", "找不到名稱", "找不到名称" },
        { "Name lookup timed out", "名稱查詢逾時", "名称查询超时" },
        { "name lookup failed: the DNS server did not answer", "名稱查詢失敗：DNS 伺服器沒有回應",
            "名称查询失败：DNS 服务器没有响应" },
        { "No server set: [RCS] IP in Config.ini is empty", "未設定伺服器：Config.ini 的 [RCS] IP 是空的",
            "未设置服务器：Config.ini 的 [RCS] IP 为空" },
        { "TLS handshake completed: %s", "TLS 交握完成：%s", "TLS 握手完成：%s" },
        { "Connected; the server answered", "已連線；伺服器有回應", "已连接；服务器有响应" },
        { "connected, no TLS answer within %s ms", "已連線，%s 毫秒內無 TLS 回應",
            "已连接，%s 毫秒内无 TLS 响应" },
        { "Request not sent: %s", "請求未送出：%s", "请求未发送：%s" },
        { "Time received", "已取得時間", "已获取时间" },
        { "The time server is not synchronised (leap indicator 3): it has no time to give",
            "時間伺服器未同步（閏秒指示 3）：沒有時間可提供",
            "时间服务器未同步（闰秒指示 3）：没有时间可提供" },
        { "The time server refused us (kiss-o'-death %s)", "時間伺服器拒絕服務（kiss-o'-death %s）",
            "时间服务器拒绝服务（kiss-o'-death %s）" },
        { "The time server is not synchronised (stratum %s)", "時間伺服器未同步（層級 %s）",
            "时间服务器未同步（层级 %s）" },
        { "Not a host name or address", "不是主機名稱或位址", "不是主机名或地址" },
        { "Error: %s", "錯誤：%s", "错误：%s" },
        { "Cancelled", "已取消", "已取消" },
    } };
    constexpr Texts kRefusedWarning {
        "Nothing listens on this port, so cameras will not connect either (a firewall that answers with a "
        "reset looks the same)",
        "此連接埠沒有程式在接聽，攝影機也無法連線（以重設回應的防火牆看起來也一樣）",
        "此端口没有程序在监听，摄像机也无法连接（以重置回应的防火墙看起来也一样）"
    };
    constexpr Texts kTlsNotCompleted { "TLS not completed: %s", "TLS 未完成：%s", "TLS 未完成：%s" };
    constexpr Texts kClockAhead { "This PC's clock is %s ahead of the time server's",
        "本電腦的時鐘比時間伺服器快 %s", "本电脑的时钟比时间服务器快 %s" };
    constexpr Texts kClockBehind { "This PC's clock is %s behind the time server's",
        "本電腦的時鐘比時間伺服器慢 %s", "本电脑的时钟比时间服务器慢 %s" };
    constexpr Texts kSeconds { "%.1f s", "%.1f 秒", "%.1f 秒" };
    constexpr Texts kMinutes { "%.0f min", "%.0f 分鐘", "%.0f 分钟" };
    constexpr Texts kTime { "Time: %d ms", "時間：%d 毫秒", "时间：%d 毫秒" };
    constexpr Texts kTested { "Tested %s:%d, address %s", "測試 %s:%d，位址 %s", "测试 %s:%d，地址 %s" };
    constexpr Texts kTestedNoAddress { "Tested %s:%d", "測試 %s:%d", "测试 %s:%d" };
    constexpr Texts kNtp { "Offset %+.1f ms, stratum %d, round trip %.1f ms, reference %s",
        "偏移 %+.1f 毫秒，層級 %d，往返 %.1f 毫秒，參考 %s",
        "偏移 %+.1f 毫秒，层级 %d，往返 %.1f 毫秒，参考 %s" };
    constexpr Texts kExpired { "Certificate expired on %s", "憑證已於 %s 過期", "证书已于 %s 过期" };
    constexpr Texts kNotYetValid { "Certificate not valid before %s", "憑證在 %s 前無效",
        "证书在 %s 前无效" };
    constexpr Texts kMismatch { "Certificate not issued for %s", "憑證並非核發給 %s", "证书并非颁发给 %s" };
    constexpr Texts kUntrusted { "Certificate not trusted by this PC: %s", "本電腦不信任此憑證：%s",
        "本电脑不信任此证书：%s" };
    constexpr Texts kSelfSignedReason { "self-signed", "自簽憑證", "自签证书" };
    constexpr Texts kUnknownIssuer { "unknown issuer", "簽發者不明", "颁发者未知" };
    constexpr Texts kSubject { "Subject: %s", "主體：%s", "主体：%s" };
    constexpr Texts kNames { "Alternative names: %s", "別名：%s", "备用名称：%s" };
    constexpr Texts kIssuer { "Issuer: %s", "簽發者：%s", "颁发者：%s" };
    constexpr Texts kSelfSigned { "Self-signed", "自簽憑證", "自签证书" };
    constexpr Texts kValidUntil { "Valid until %s, %d days left", "有效至 %s，剩餘 %d 天",
        "有效至 %s，剩余 %d 天" };
    constexpr Texts kHostMatches { "Issued for %s", "核發給 %s", "颁发给 %s" };

    std::size_t LanguageIndex(std::int32_t language)
    {
        return language >= 0 && language < 3 ? static_cast<std::size_t>(language) : 0;
    }

    std::string Join(const std::vector<std::string>& parts, const char* separator)
    {
        std::string joined;
        for (const std::string& part : parts)
            joined += (joined.empty() ? "" : separator) + part;
        return joined;
    }

    // Seconds while they are few, minutes beyond two of them.
    std::string Amount(double milliseconds, std::size_t l)
    {
        const double seconds = std::abs(milliseconds) / 1000;
        return seconds < 120 ? (boost::format(kSeconds[l]) % seconds).str()
                             : (boost::format(kMinutes[l]) % (seconds / 60)).str();
    }

    std::string UntrustedReason(const std::string& because, std::size_t l)
    {
        if (because == kSelfSignedReason[0])
            return kSelfSignedReason[l];
        return because == kUnknownIssuer[0] ? kUnknownIssuer[l] : because;
    }

} // namespace

std::string ReasonText(const ProbeOutcome& outcome, std::int32_t language)
{
    boost::format reason(kReasons.at(static_cast<std::size_t>(outcome.reason))[LanguageIndex(language)]);
    reason.exceptions(boost::io::no_error_bits); // reasons without a detail ignore it
    return (reason % outcome.detail).str();
}

std::vector<std::string> WarningLines(const ProbeOutcome& outcome, std::int32_t language)
{
    const std::size_t l = LanguageIndex(language);
    const auto text = [l](const Texts& texts) { return boost::format(texts[l]); };
    if (!outcome.passed)
        return {};
    switch (outcome.warning) {
    case ProbeWarning::None:
        return {};
    case ProbeWarning::Refused:
        return { kRefusedWarning[l] };
    case ProbeWarning::TlsNotCompleted:
        return { (text(kTlsNotCompleted) % outcome.detail).str() };
    case ProbeWarning::ClockOffset: {
        const double offset = outcome.ntp ? outcome.ntp->offsetMs : 0;
        // The offset is the server's clock minus ours.
        return { (text(offset > 0 ? kClockBehind : kClockAhead) % Amount(offset, l)).str() };
    }
    case ProbeWarning::Certificate:
        break;
    }
    std::vector<std::string> lines;
    if (const auto& certificate = outcome.certificate) {
        if (certificate->Expired())
            lines.push_back((text(kExpired) % certificate->notAfter).str());
        if (certificate->notYetValid)
            lines.push_back((text(kNotYetValid) % certificate->notBefore).str());
        if (!certificate->hostMatches)
            lines.push_back((text(kMismatch) % outcome.host).str());
        if (!certificate->trusted)
            lines.push_back((text(kUntrusted) % UntrustedReason(certificate->untrustedBecause, l)).str());
    }
    return lines;
}

std::string WarningText(const ProbeOutcome& outcome, std::int32_t language)
{
    return Join(WarningLines(outcome, language), "; ");
}

std::string DescribeOutcome(const ProbeOutcome& outcome, std::int32_t language)
{
    const std::size_t l = LanguageIndex(language);
    const auto text = [l](const Texts& texts) { return boost::format(texts[l]); };
    std::vector<std::string> lines = WarningLines(outcome, language);
    lines.push_back(ReasonText(outcome, language));
    if (const auto& ntp = outcome.ntp)
        lines.push_back(
            (text(kNtp) % ntp->offsetMs % ntp->stratum % ntp->roundTripMs % ntp->referenceId).str());
    if (const auto& certificate = outcome.certificate) {
        if (certificate->hostMatches)
            lines.push_back((text(kHostMatches) % outcome.host).str());
        lines.push_back((text(kSubject) % certificate->subject).str());
        if (!certificate->alternativeNames.empty())
            lines.push_back((text(kNames) % Join(certificate->alternativeNames, ", ")).str());
        lines.push_back((text(kIssuer) % certificate->issuer).str());
        if (certificate->selfSigned)
            lines.push_back(kSelfSigned[l]);
        lines.push_back((text(kValidUntil) % certificate->notAfter % certificate->daysLeft).str());
    }
    if (!outcome.host.empty())
        lines.push_back(outcome.address.empty()
                ? (text(kTestedNoAddress) % outcome.host % outcome.port).str()
                : (text(kTested) % outcome.host % outcome.port % outcome.address).str());
    lines.push_back((text(kTime) % outcome.elapsed.count()).str());
    return Join(lines, "\n");
}

} // namespace quill::netcheck
