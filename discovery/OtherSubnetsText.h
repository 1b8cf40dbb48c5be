#pragma once

#include <string>

namespace quill::discovery {

// For the search status's tooltip when the adapter's reverse-path filter
// (netinfo::EffectiveReversePathFilter, netinfo::DropsUnroutedSenders) keeps
// answers from other subnets out: that cameras in other subnets cannot be
// heard, why, and how to allow it. UTF-8, for language 0 English,
// 1 Traditional Chinese, 2 Simplified Chinese (any other number gives English).
std::string OtherSubnetsUnheardText(int language, const std::string& adapterName, int reversePathFilter);

} // namespace quill::discovery
