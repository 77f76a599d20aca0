// The socket layer over POSIX sockets.
#pragma once

#include "game/socket.h"

class SocketSysPosix final : public ISocketSys {
 public:
  static constexpr int kDefaultConnectTimeoutMs = 3000;

  bool Startup() override;
  int Shutdown() override;
  bool ResolveHost(const char* name, NetAddress& out) override;
  bool LookupName(const uint8_t address[4], char* name, size_t size) override;
  ITCPServerSocket* CreateTCPServer(uint16_t port, int backlog, bool noDelay, bool blocking,
                                    bool reuseAddress, const NetAddress* localAddress) override;
  ITCPClientSocket* ConnectTCP(const NetAddress& remote, bool noDelay, bool blocking,
                               const NetAddress* localAddress) override;
  ITCPClientSocket* ConnectTCPByName(const char* host, uint16_t port, bool noDelay, bool blocking,
                                     const NetAddress* localAddress) override;
  void CloseUDP(IUDPSocket* socket) override;
  void CloseTCPServer(ITCPServerSocket* socket) override;
  void CloseTCPClient(ITCPClientSocket* socket) override;
  IUDPSocket* CreateUDP(uint16_t port, bool blocking, bool reuseAddress,
                        const NetAddress* localAddress) override;

  // How long a connect may take before it fails like a refused one, so that an
  // unreachable address cannot freeze the caller.
  void SetConnectTimeout(int milliseconds) { m_connectTimeoutMs = milliseconds; }

 private:
  int m_connectTimeoutMs = kDefaultConnectTimeoutMs;
};

class TCPClientSocketPosix final : public ITCPClientSocket {
 public:
  TCPClientSocketPosix(const NetAddress& remote, int handle) : m_remote(remote), m_handle(handle) {}

  int Send(const void* bytes, int length) override;
  int Receive(void* buffer, int length) override;
  bool GetNoDelay() override;
  bool SetNoDelay(bool on) override;
  bool SetBlocking(bool blocking) override;

  const NetAddress& Remote() const { return m_remote; }
  int Handle() const { return m_handle; }

 private:
  NetAddress m_remote;  // the address connected to, or the peer an accept reported
  int m_handle;         // owned; closed by the socket system
};

class TCPServerSocketPosix final : public ITCPServerSocket {
 public:
  TCPServerSocketPosix(int handle, bool blocking, bool noDelay)
      : m_handle(handle), m_blocking(blocking), m_noDelay(noDelay) {}

  ITCPClientSocket* Accept() override;
  bool GetLocalAddress(NetAddress& out) override;

  int Handle() const { return m_handle; }

 private:
  int m_handle;  // owned; closed by the socket system
  // POSIX accept does not hand these on to the new connection as Winsock did;
  // the listener applies them itself.
  bool m_blocking;
  bool m_noDelay;
};

class UDPSocketPosix final : public IUDPSocket {
 public:
  explicit UDPSocketPosix(int handle) : m_handle(handle) {}

  int SendTo(const NetAddress& address, const void* bytes, int length) override;
  int ReceiveFrom(NetAddress& out, void* buffer, int length) override;
  bool SetBlocking(bool blocking) override;
  int GetMaxMessageSize() override;
  bool GetLocalAddress(NetAddress& out) override;

  int Handle() const { return m_handle; }

 private:
  int m_handle;  // owned; closed by the socket system
};
