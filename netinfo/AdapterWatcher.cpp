#include "AdapterWatcher.h"

#include <QSocketNotifier>
#include <QTimer>

#include <system_error>

namespace quill::netinfo {

AdapterWatcher::AdapterWatcher(AdapterCollectors collectors, QObject* parent)
    : QObject(parent)
    , m_collectors(std::move(collectors))
{
    qRegisterMetaType<std::vector<AdapterRow>>();
    connect(
        this, &AdapterWatcher::ReadingWaiting, this, &AdapterWatcher::DeliverReading, Qt::QueuedConnection);
}

AdapterWatcher::~AdapterWatcher()
{
    {
        std::lock_guard lock(m_lock);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_reader.joinable())
        m_reader.join();
}

bool AdapterWatcher::Start(const std::vector<AdapterRow>& known)
{
    if (m_notifier || !m_socket.IsOpen())
        return false;
    m_known = known;
    try {
        m_reader = std::thread([this] { ReadWhenAsked(); });
    } catch (const std::system_error&) {
        return false;
    }
    m_settle = new QTimer(this);
    m_settle->setSingleShot(true);
    m_settle->setInterval(kSettle);
    connect(m_settle, &QTimer::timeout, this, &AdapterWatcher::Refresh);
    m_notifier = new QSocketNotifier(m_socket.Descriptor(), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &AdapterWatcher::OnChangeMessages);
    return true;
}

void AdapterWatcher::OnChangeMessages()
{
    m_socket.Drain();
    // Not restarted by later messages: a steady stream still reads in time.
    if (!m_settle->isActive())
        m_settle->start();
}

void AdapterWatcher::Refresh()
{
    {
        std::lock_guard lock(m_lock);
        m_readWanted = true;
    }
    m_wake.notify_one();
}

void AdapterWatcher::ReadWhenAsked()
{
    for (;;) {
        {
            std::unique_lock lock(m_lock);
            m_wake.wait(lock, [this] { return m_stopping || m_readWanted; });
            if (m_stopping)
                return;
            m_readWanted = false;
        }
        std::vector<AdapterRow> adapters = ReadAdapterRows(m_collectors);
        bool wake = false;
        {
            std::lock_guard lock(m_lock);
            m_read = std::move(adapters);
            wake = !std::exchange(m_deliveryQueued, true);
        }
        if (wake)
            Q_EMIT ReadingWaiting();
    }
}

void AdapterWatcher::DeliverReading()
{
    std::optional<std::vector<AdapterRow>> read;
    {
        std::lock_guard lock(m_lock);
        read.swap(m_read);
        m_deliveryQueued = false;
    }
    if (!read || *read == m_known)
        return;
    m_known = *read;
    Q_EMIT AdaptersChanged(m_known);
}

} // namespace quill::netinfo
