#include "SearchFactsGathering.h"

#include "AdapterState.h"
#include "NeighbourTable.h"

namespace quill::discovery {

SearchFacts GatherSearchFacts(bool listening, std::uint16_t listenPort, const SweepOutcome& sweep,
    const Ipv4Octets& begin, const Ipv4Octets& end, const std::string& adapterLabel,
    const std::optional<Ipv4Octets>& adapterAddress, const std::filesystem::path& neighbourTable)
{
    SearchFacts facts;
    facts.listening = listening;
    facts.listenPort = listenPort;
    facts.sweep = sweep;
    facts.begin = begin;
    facts.end = end;
    facts.adapterName = adapterLabel;
    if (adapterAddress) {
        facts.adapterAddresses = { *adapterAddress };
        if (const auto state = FindAdapterHolding(*adapterAddress)) {
            facts.adapterName += " (" + state->name + ")";
            facts.adapterAddresses = state->addresses;
            facts.carrier = state->carrier;
        }
    }
    facts.arpAnswered = CountArpAnswered(neighbourTable, begin, end);
    return facts;
}

} // namespace quill::discovery
