#pragma once

namespace quill::netinfo {

// The kernel's messages about adapters: a link coming or going, up or down,
// an IPv4 address or route added or removed. Readable whenever one arrived.
class AdapterChangeSocket {
public:
    AdapterChangeSocket();
    ~AdapterChangeSocket();
    AdapterChangeSocket(const AdapterChangeSocket&) = delete;
    AdapterChangeSocket& operator=(const AdapterChangeSocket&) = delete;

    bool IsOpen() const { return m_descriptor >= 0; }
    int Descriptor() const { return m_descriptor; }
    // Reads every message waiting, without blocking. Only that something
    // changed matters: the table is read afresh.
    void Drain();

private:
    int m_descriptor = -1;
};

} // namespace quill::netinfo
