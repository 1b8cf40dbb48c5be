#pragma once

#include <QObject>

class QSocketNotifier;

namespace quill::cli {

// Ctrl-C for a command that ends in order: while an Interruption lives, the
// first SIGINT does not end the program but is recorded, and the command
// stops its work, prints what it has and its summary, writes no partial file
// and ends with kExitInterrupted. A second SIGINT ends the program at once.
//
// The signal handler only sets a flag and writes one byte to a pipe. Work
// that runs an event loop hears of it through Interrupted; a blocking loop
// polls Requested(), or waits on WakeDescriptor() beside its sockets.
// One instance at a time.
class Interruption : public QObject {
    Q_OBJECT

public:
    explicit Interruption(QObject* parent = nullptr);
    // Gives SIGINT its default handling back.
    ~Interruption() override;
    Interruption(const Interruption&) = delete;
    Interruption& operator=(const Interruption&) = delete;

    // Whether SIGINT is being caught (false when setting up failed).
    bool IsActive() const { return m_active; }
    // Whether SIGINT arrived; from any thread.
    static bool Requested();
    // Readable from the moment SIGINT arrived (never drained): for poll()
    // with the sockets of a blocking loop. -1 when not active.
    int WakeDescriptor() const;

Q_SIGNALS:
    // Once, from the event loop of the thread that made the instance (which
    // needs a QCoreApplication then), after SIGINT arrived.
    void Interrupted();

private:
    void OnWake();

    bool m_active = false;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace quill::cli
