#include "NetworkNamespace.h"

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>

namespace quill::netinfo::test {

namespace {
    // Every step is bounded, so a stuck tool fails the test instead of hanging it.
    const std::string kTimeLimit = "timeout 20 ";

    std::string UniqueName()
    {
        static std::atomic<int> counter { 0 };
        return "quill-netinfo-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    }
} // namespace

bool RunBounded(const std::string& command)
{
    const int status = std::system((kTimeLimit + command + " >/dev/null 2>&1").c_str());
    return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

NetworkNamespace::NetworkNamespace()
    : m_name(UniqueName())
{
    m_created = RunBounded("ip netns add " + m_name);
}

NetworkNamespace::~NetworkNamespace()
{
    if (m_created && !RunBounded("ip netns delete " + m_name))
        std::cerr << "could not delete network namespace " << m_name << "\n";
}

bool NetworkNamespace::Ip(const std::string& arguments) const
{
    const bool ok = RunBounded("ip -n " + m_name + " " + arguments);
    if (!ok)
        std::cerr << "failed: ip -n " << m_name << " " << arguments << "\n";
    return ok;
}

std::string NetworkNamespace::Exec(const std::string& commandLine, int& exitCode) const
{
    const std::string command = kTimeLimit + "ip netns exec " + m_name + " " + commandLine;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> pipe(::popen(command.c_str(), "r"), &::pclose);
    exitCode = -1;
    if (!pipe)
        return {};
    std::string output;
    std::array<char, 4096> buffer;
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0)
        output.append(buffer.data(), got);
    const int status = ::pclose(pipe.release());
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return output;
}

} // namespace quill::netinfo::test
