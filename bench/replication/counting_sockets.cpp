#include "bench/replication/counting_sockets.h"

#include "orvix/memtrack.h"

namespace {

class CountingTCPClient final : public ITCPClientSocket {
 public:
  CountingTCPClient(ITCPClientSocket* real, ByteCounts* counts) : m_real(real), m_counts(counts) {}
  ~CountingTCPClient() = default;

  int Send(const void* bytes, int length) override {
    const int sent = m_real->Send(bytes, length);
    if (sent > 0) m_counts->sent += static_cast<uint64_t>(sent);
    return sent;
  }
  int Receive(void* buffer, int length) override {
    const int received = m_real->Receive(buffer, length);
    if (received > 0) m_counts->received += static_cast<uint64_t>(received);
    return received;
  }
  bool GetNoDelay() override { return m_real->GetNoDelay(); }
  bool SetNoDelay(bool on) override { return m_real->SetNoDelay(on); }
  bool SetBlocking(bool blocking) override { return m_real->SetBlocking(blocking); }

  ITCPClientSocket* Real() const { return m_real; }

 private:
  ITCPClientSocket* m_real;  // owned through the real socket system
  ByteCounts* m_counts;      // borrowed
};

}  // namespace

ITCPClientSocket* CountingSocketSys::Wrap(ITCPClientSocket* real) {
  return real != nullptr ? OX_NEW CountingTCPClient(real, m_counts) : nullptr;
}

ITCPClientSocket* CountingSocketSys::ConnectTCP(const NetAddress& remote, bool noDelay, bool blocking,
                                                const NetAddress* localAddress) {
  return Wrap(m_real.ConnectTCP(remote, noDelay, blocking, localAddress));
}

ITCPClientSocket* CountingSocketSys::ConnectTCPByName(const char* host, uint16_t port, bool noDelay,
                                                      bool blocking, const NetAddress* localAddress) {
  return Wrap(m_real.ConnectTCPByName(host, port, noDelay, blocking, localAddress));
}

// Every client socket this system hands out is a wrapper.
void CountingSocketSys::CloseTCPClient(ITCPClientSocket* socket) {
  if (socket == nullptr) return;
  auto* wrapper = static_cast<CountingTCPClient*>(socket);
  m_real.CloseTCPClient(wrapper->Real());
  OX_DELETE wrapper;
}
