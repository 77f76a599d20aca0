// The socket layer: IPv4 TCP and UDP behind small interfaces, made and closed
// by one socket system object.
//
// Every data call suits non-blocking sockets: an operation that would block
// reports 0, a closed peer or a real failure -1. Nothing here logs; callers
// decide what a failure means.
#pragma once

#include <cstddef>
#include <cstdint>

struct NetAddress {
  uint8_t address[4] = {};  // network byte order, as it appears on the wire
  uint16_t port = 0;        // host order
};

class ITCPClientSocket {
 public:
  // At most length bytes in one call: the count taken, 0 when the socket would
  // block (or length is 0), -1 on failure. Never raises SIGPIPE.
  virtual int Send(const void* bytes, int length) = 0;
  // At most length bytes in one call: the count received, 0 when nothing is
  // there (or length is 0), -1 when the peer has closed or on failure.
  virtual int Receive(void* buffer, int length) = 0;
  virtual bool GetNoDelay() = 0;
  virtual bool SetNoDelay(bool on) = 0;
  virtual bool SetBlocking(bool blocking) = 0;

 protected:
  // Sockets are destroyed only by the socket system that made them.
  ~ITCPClientSocket() = default;
};

class ITCPServerSocket {
 public:
  // The next pending connection, or null when there is none (a non-blocking
  // listener never waits). The new connection has the listener's blocking
  // mode and no-delay setting.
  virtual ITCPClientSocket* Accept() = 0;
  // The address and port the listener is bound to (the port chosen by the
  // system when 0 was asked for).
  virtual bool GetLocalAddress(NetAddress& out) = 0;

 protected:
  ~ITCPServerSocket() = default;
};

class IUDPSocket {
 public:
  virtual int SendTo(const NetAddress& address, const void* bytes, int length) = 0;
  // On would-block the out address bytes are zeroed and 0 is returned.
  virtual int ReceiveFrom(NetAddress& out, void* buffer, int length) = 0;
  virtual bool SetBlocking(bool blocking) = 0;
  // The largest datagram payload this socket can send.
  virtual int GetMaxMessageSize() = 0;
  virtual bool GetLocalAddress(NetAddress& out) = 0;

 protected:
  ~IUDPSocket() = default;
};

// Factory and owner of sockets. Each socket it makes must be closed through
// the matching Close operation, which also destroys the object.
class ISocketSys {
 public:
  virtual ~ISocketSys() = default;

  virtual bool Startup() = 0;
  virtual int Shutdown() = 0;
  // First IPv4 address of a host name or dotted address; the port is left 0.
  virtual bool ResolveHost(const char* name, NetAddress& out) = 0;
  virtual bool LookupName(const uint8_t address[4], char* name, size_t size) = 0;
  // localAddress null binds to any address.
  virtual ITCPServerSocket* CreateTCPServer(uint16_t port, int backlog, bool noDelay, bool blocking,
                                            bool reuseAddress, const NetAddress* localAddress) = 0;
  // Waits until the connection is made, refused or timed out, whatever the
  // blocking argument, which sets the socket's mode afterwards.
  virtual ITCPClientSocket* ConnectTCP(const NetAddress& remote, bool noDelay, bool blocking,
                                       const NetAddress* localAddress) = 0;
  // A dotted address is taken as it stands, anything else is resolved by name.
  virtual ITCPClientSocket* ConnectTCPByName(const char* host, uint16_t port, bool noDelay, bool blocking,
                                             const NetAddress* localAddress) = 0;
  virtual void CloseUDP(IUDPSocket* socket) = 0;
  virtual void CloseTCPServer(ITCPServerSocket* socket) = 0;
  virtual void CloseTCPClient(ITCPClientSocket* socket) = 0;
  virtual IUDPSocket* CreateUDP(uint16_t port, bool blocking, bool reuseAddress,
                                const NetAddress* localAddress) = 0;
};

// Address texts. A dotted quad is at most 15 characters of digits and dots
// with exactly three dots; parsing it fails when a part is empty or above 255.
bool IsDottedQuad(const char* text);
bool ParseDottedQuad(const char* text, NetAddress& out);
// "%u.%u.%u.%u"; needs 16 bytes for every address.
void FormatAddress(const NetAddress& address, char* text, size_t size);
