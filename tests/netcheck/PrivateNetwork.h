#pragma once

#include <functional>
#include <optional>
#include <string>

namespace quill::netcheck::test {

// Runs body in a child process moved into a network namespace of its own with
// only loopback up, so nothing it sends, a DNS query included, can leave the
// machine. Returns the text body returned; nothing when the namespace cannot
// be made (it needs root) or the child fails, with the reason in whyNot. The
// child is killed after 30 s.
std::optional<std::string> RunInPrivateNetwork(const std::function<std::string()>& body, std::string& whyNot);

} // namespace quill::netcheck::test
