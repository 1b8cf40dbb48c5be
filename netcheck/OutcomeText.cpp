#include "OutcomeText.h"

#include <boost/format.hpp>

#include <array>
#include <cmath>

namespace quill::netcheck {

namespace {

    using Texts = std::array<const char*, 3>;

    // Indexed by ProbeReason; "%s" takes the detail.
    constexpr std::array<Texts, 13> kReasons { {
        { "Connected", "已連線", "已连接" },
        { "Refused: the host answered, the port is closed", "拒絕：主機有回應，連接埠已關閉",
            "拒绝：主机有响应，端口已关闭" },
        { "No answer within %s ms", "%s 毫秒內無回應", "%s 毫秒内无响应" },
        { "Name not found", "找不到名稱", "找不到名称" },
        { "Name lookup timed out", "名稱查詢逾時", "名称查询超时" },
        { "Network unreachable", "網路無法連線", "网络无法访问" },
        { "TLS handshake completed: %s", "TLS 交握完成：%s", "TLS 握手完成：%s" },
        { "TLS failed: %s", "TLS 失敗：%s", "TLS 失败：%s" },
        { "Request not sent: %s", "請求未送出：%s", "请求未发送：%s" },
        { "Time received", "已取得時間", "已获取时间" },
        { "Not a host name or address", "不是主機名稱或位址", "不是主机名或地址" },
        { "Error: %s", "錯誤：%s", "错误：%s" },
        { "Cancelled", "已取消", "已取消" },
    } };
    constexpr Texts kTime { "Time: %d ms", "時間：%d 毫秒", "时间：%d 毫秒" };
    constexpr Texts kNtp { "Offset %+.1f ms, stratum %d, round trip %.1f ms, reference %s",
        "偏移 %+.1f 毫秒，層級 %d，往返 %.1f 毫秒，參考 %s",
        "偏移 %+.1f 毫秒，层级 %d，往返 %.1f 毫秒，参考 %s" };
    constexpr Texts kExpired { "Certificate expired on %s", "憑證已於 %s 過期", "证书已于 %s 过期" };
    constexpr Texts kNotYetValid { "Certificate not valid before %s", "憑證在 %s 前無效",
        "证书在 %s 前无效" };
    constexpr Texts kMismatch { "Certificate not issued for %s", "憑證並非核發給 %s", "证书并非颁发给 %s" };
    constexpr Texts kSubject { "Subject: %s", "主體：%s", "主体：%s" };
    constexpr Texts kNames { "Alternative names: %s", "別名：%s", "备用名称：%s" };
    constexpr Texts kIssuer { "Issuer: %s", "簽發者：%s", "颁发者：%s" };
    constexpr Texts kSelfSigned { "Self-signed", "自簽憑證", "自签证书" };
    constexpr Texts kValidUntil { "Valid until %s, %d days left", "有效至 %s，剩餘 %d 天",
        "有效至 %s，剩余 %d 天" };
    constexpr Texts kHostMatches { "Issued for %s", "核發給 %s", "颁发给 %s" };

    std::string Join(const std::vector<std::string>& parts, const char* separator)
    {
        std::string joined;
        for (const std::string& part : parts)
            joined += (joined.empty() ? "" : separator) + part;
        return joined;
    }

} // namespace

std::string ReasonText(const ProbeOutcome& outcome, std::int32_t language)
{
    const std::size_t l = language >= 0 && language < 3 ? static_cast<std::size_t>(language) : 0;
    boost::format reason(kReasons.at(static_cast<std::size_t>(outcome.reason))[l]);
    reason.exceptions(boost::io::no_error_bits); // reasons without a detail ignore it
    return (reason % outcome.detail).str();
}

std::string DescribeOutcome(const ProbeOutcome& outcome, std::int32_t language)
{
    const std::size_t l = language >= 0 && language < 3 ? static_cast<std::size_t>(language) : 0;
    const auto text = [l](const Texts& texts) { return boost::format(texts[l]); };
    std::vector<std::string> lines;
    const auto& certificate = outcome.certificate;
    if (certificate && certificate->Expired())
        lines.push_back((text(kExpired) % certificate->notAfter).str());
    if (certificate && certificate->notYetValid)
        lines.push_back((text(kNotYetValid) % certificate->notBefore).str());
    if (certificate && !certificate->hostMatches)
        lines.push_back((text(kMismatch) % outcome.host).str());
    lines.push_back(ReasonText(outcome, language));
    if (const auto& ntp = outcome.ntp)
        lines.push_back(
            (text(kNtp) % ntp->offsetMs % ntp->stratum % ntp->roundTripMs % ntp->referenceId).str());
    if (certificate) {
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
    lines.push_back((text(kTime) % outcome.elapsed.count()).str());
    return Join(lines, "\n");
}

} // namespace quill::netcheck
