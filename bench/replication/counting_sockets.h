// A socket system that hands out the platform's TCP connections wrapped so
// that every byte they send and receive is counted: what the connection
// really moved through its sockets, framing included.
#pragma once

#include <cstdint>

#include "game/socketposix.h"

struct ByteCounts {
  uint64_t sent = 0;
  uint64_t received = 0;
};

class CountingSocketSys final : public ISocketSys {
 public:
  explicit CountingSocketSys(ByteCounts* counts) : m_counts(counts) {}

  bool Startup() override { return m_real.Startup(); }
  int Shutdown() override { return m_real.Shutdown(); }
  bool ResolveHost(const char* name, NetAddress& out) override { return m_real.ResolveHost(name, out); }
  bool LookupName(const uint8_t address[4], char* name, size_t size) override {
    return m_real.LookupName(address, name, size);
  }
  ITCPServerSocket* CreateTCPServer(uint16_t port, int backlog, bool noDelay, bool blocking,
                                    bool reuseAddress, const NetAddress* localAddress) override {
    return m_real.CreateTCPServer(port, backlog, noDelay, blocking, reuseAddress, localAddress);
  }
  ITCPClientSocket* ConnectTCP(const NetAddress& remote, bool noDelay, bool blocking,
                               const NetAddress* localAddress) override;
  ITCPClientSocket* ConnectTCPByName(const char* host, uint16_t port, bool noDelay, bool blocking,
                                     const NetAddress* localAddress) override;
  void CloseUDP(IUDPSocket* socket) override { m_real.CloseUDP(socket); }
  void CloseTCPServer(ITCPServerSocket* socket) override { m_real.CloseTCPServer(socket); }
  void CloseTCPClient(ITCPClientSocket* socket) override;
  IUDPSocket* CreateUDP(uint16_t port, bool blocking, bool reuseAddress,
                        const NetAddress* localAddress) override {
    return m_real.CreateUDP(port, blocking, reuseAddress, localAddress);
  }

 private:
  ITCPClientSocket* Wrap(ITCPClientSocket* real);

  SocketSysPosix m_real;
  ByteCounts* m_counts;  // borrowed
};
