#include "ResolvedDns.h"

#include "DiscoveryRange.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <netinet/in.h>

#include <array>
#include <atomic>
#include <cstring>

namespace quill::netinfo {

namespace {

    const QString kService = QStringLiteral("org.freedesktop.resolve1");
    const QString kManagerPath = QStringLiteral("/org/freedesktop/resolve1");
    const QString kManagerInterface = QStringLiteral("org.freedesktop.resolve1.Manager");
    const QString kLinkInterface = QStringLiteral("org.freedesktop.resolve1.Link");
    const QString kNoSuchLink = QStringLiteral("org.freedesktop.resolve1.NoSuchLink");
    constexpr int kCallTimeoutMs = 1000;

    QString UniqueConnectionName()
    {
        static std::atomic<unsigned> counter { 0 };
        return QStringLiteral("quill-netinfo-resolved-%1").arg(counter.fetch_add(1));
    }

    std::string Ipv4Text(int family, const QByteArray& address)
    {
        if (family != AF_INET || address.size() != 4)
            return {};
        discovery::Ipv4Octets octets {};
        std::memcpy(octets.data(), address.constData(), octets.size());
        return discovery::FormatIpv4(octets);
    }

    // Link.DNS is a(iay): family, address. Manager.DNS is a(iiay): interface
    // index (0 for the global servers), family, address. Anything else is
    // not read.
    std::string FirstIpv4Server(const QVariant& servers, bool withInterfaceIndex)
    {
        if (servers.metaType() != QMetaType::fromType<QDBusArgument>())
            return {};
        const QDBusArgument list = servers.value<QDBusArgument>();
        if (list.currentSignature() != QLatin1String(withInterfaceIndex ? "a(iiay)" : "a(iay)"))
            return {};
        std::string first;
        list.beginArray();
        while (!list.atEnd()) {
            int interfaceIndex = 0;
            int family = 0;
            QByteArray address;
            list.beginStructure();
            if (withInterfaceIndex)
                list >> interfaceIndex;
            list >> family >> address;
            list.endStructure();
            if (first.empty() && interfaceIndex == 0)
                first = Ipv4Text(family, address);
        }
        list.endArray();
        return first;
    }

} // namespace

ResolvedDns::ResolvedDns(const std::string& busAddress)
    : m_connectionName(UniqueConnectionName())
    , m_bus(busAddress.empty()
              ? QDBusConnection(m_connectionName)
              : QDBusConnection::connectToBus(QString::fromStdString(busAddress), m_connectionName))
    , m_answering(m_bus.isConnected())
{
}

ResolvedDns::~ResolvedDns()
{
    QDBusConnection::disconnectFromBus(m_connectionName);
}

std::optional<QVariant> ResolvedDns::Property(
    const QString& path, const QString& interface, const QString& name)
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        kService, path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << interface << name;
    get.setAutoStartService(false);
    const QDBusMessage reply = m_bus.call(get, QDBus::Block, kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        m_answering = false;
        return std::nullopt;
    }
    return reply.arguments().constFirst().value<QDBusVariant>().variant();
}

std::string ResolvedDns::FirstServer(unsigned interfaceIndex)
{
    if (!m_answering)
        return {};
    QDBusMessage getLink = QDBusMessage::createMethodCall(
        kService, kManagerPath, kManagerInterface, QStringLiteral("GetLink"));
    getLink << static_cast<int>(interfaceIndex);
    getLink.setAutoStartService(false);
    const QDBusMessage link = m_bus.call(getLink, QDBus::Block, kCallTimeoutMs);
    if (link.type() == QDBusMessage::ReplyMessage && !link.arguments().isEmpty()) {
        const QString linkPath = link.arguments().constFirst().value<QDBusObjectPath>().path();
        if (const auto servers = Property(linkPath, kLinkInterface, QStringLiteral("DNS"))) {
            if (std::string server = FirstIpv4Server(*servers, false); !server.empty())
                return server;
        }
    } else if (link.errorName() != kNoSuchLink) {
        m_answering = false; // not running here, or not answering: ask no more
    }
    if (!m_globalServer && m_answering) {
        if (const auto servers = Property(kManagerPath, kManagerInterface, QStringLiteral("DNS")))
            m_globalServer = FirstIpv4Server(*servers, true);
    }
    return m_globalServer.value_or(std::string());
}

std::string SystemBusAddress()
{
    const QByteArray fromEnvironment = qgetenv("DBUS_SYSTEM_BUS_ADDRESS");
    return fromEnvironment.isEmpty() ? "unix:path=/run/dbus/system_bus_socket"
                                     : fromEnvironment.toStdString();
}

} // namespace quill::netinfo
