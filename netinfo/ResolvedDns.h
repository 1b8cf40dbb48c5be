#pragma once

#include <QDBusConnection>
#include <QString>
#include <QVariant>

#include <optional>
#include <string>

namespace quill::netinfo {

// Asks systemd-resolved (org.freedesktop.resolve1) on a D-Bus bus which DNS
// servers an interface uses. Nothing is asked when the bus address is empty,
// the bus cannot be reached or resolved does not run there; resolved is never
// started for this. Every call waits at most a second.
class ResolvedDns {
public:
    explicit ResolvedDns(const std::string& busAddress);
    ~ResolvedDns();
    ResolvedDns(const ResolvedDns&) = delete;
    ResolvedDns& operator=(const ResolvedDns&) = delete;

    // The interface's own first IPv4 server, else resolved's first global
    // IPv4 server; empty when resolved names none or does not answer.
    std::string FirstServer(unsigned interfaceIndex);

private:
    std::optional<QVariant> Property(const QString& path, const QString& interface, const QString& name);

    QString m_connectionName;
    QDBusConnection m_bus;
    bool m_answering = false;
    std::optional<std::string> m_globalServer;
};

// The system bus's address as libdbus finds it.
std::string SystemBusAddress();

} // namespace quill::netinfo
