#pragma once

#include "DiscoverySweep.h"

#include <optional>
#include <string>
#include <vector>

// What the search page's status line says: the search under way, its outcome,
// and, when no camera answered, the first cause that holds. Texts are UTF-8
// for language 0 English, 1 Traditional Chinese, 2 Simplified Chinese (any
// other number gives English).
namespace quill::discovery {

// Why no camera answered, in the order the causes are checked.
enum class NoAnswerCause {
    ListenerDown, // nothing can be received: the port is another program's
    NothingSent, // not one query left the PC
    OffNetwork, // no address of the selected adapter is in the range's /24
    NoCarrier, // the selected adapter has no link
    OnlyArp, // devices in the range answered ARP, none the camera query
    NobodyThere, // not even ARP was answered
};

// What is known of a search once it has settled.
struct SearchFacts {
    bool listening = true;
    std::uint16_t listenPort = 0;
    SweepOutcome sweep;
    Ipv4Octets begin {};
    Ipv4Octets end {};
    std::string adapterName; // the selected adapter as the user knows it
    std::vector<Ipv4Octets> adapterAddresses;
    std::optional<bool> carrier; // unknown when the adapter cannot be found
    int arpAnswered = 0; // addresses of the range that answered ARP
};

NoAnswerCause DiagnoseNoAnswer(const SearchFacts& facts);

std::string SearchingText(int language, const Ipv4Octets& begin, const Ipv4Octets& end, int cameras);
// The outcome of a settled search, or with no sweep the count of cameras that
// answered on their own.
std::string OutcomeText(int language, int cameras, const SweepOutcome* sweep);
// Told after the outcome when the list is full: answers from further cameras
// were not listed.
std::string IgnoredText(int language, int ignored, int limit);
std::string NoAnswerText(int language, NoAnswerCause cause, const SearchFacts& facts);
// A failed send's reason as a user reads it.
std::string SendErrorName(int language, const boost::system::error_code& error);

} // namespace quill::discovery
