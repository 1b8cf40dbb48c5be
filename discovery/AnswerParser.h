#pragma once

#include "DeviceRecord.h"

#include <optional>
#include <string_view>

namespace quill::discovery {

// Parses the payload of one received answer datagram. Only the first
// kAnswerBufferSize bytes count, and the text ends at the first zero byte.
// The text must be at least kShortestAnswerLength bytes and split at every
// space into exactly kTokenCount tokens (empty ones included); anything else
// gives nullopt, meaning the datagram is ignored without a trace.
std::optional<DeviceRecord> ParseAnswer(std::string_view received);

} // namespace quill::discovery
