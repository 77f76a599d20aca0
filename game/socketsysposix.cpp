// The socket system: makes, connects and closes sockets and resolves names.
#include <netdb.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "game/socketposix.h"
#include "game/socketposixutil.h"
#include "orvix/memtrack.h"

using namespace SocketPosix;

namespace {

const uint8_t kAnyAddress[4] = {0, 0, 0, 0};

const uint8_t* BindAddressOf(const NetAddress* localAddress) {
  return localAddress != nullptr ? localAddress->address : kAnyAddress;
}

bool Bind(int handle, const uint8_t address[4], uint16_t port) {
  const sockaddr_in local = ToSockAddr(address, port);
  return bind(handle, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0;
}

// Only digits and dots: a number, never a host name.
bool IsNumeric(const char* text) { return std::strspn(text, "0123456789.") == std::strlen(text); }

// Connects a non-blocking socket, waiting at most timeoutMs for the answer.
bool ConnectWithin(int handle, const sockaddr_in& remote, int timeoutMs) {
  if (connect(handle, reinterpret_cast<const sockaddr*>(&remote), sizeof remote) == 0) return true;
  if (errno != EINPROGRESS && errno != EINTR) return false;

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd watch{handle, POLLOUT, 0};
    const int ready = poll(&watch, 1, static_cast<int>(left.count()));
    if (ready > 0) break;
    if (ready == 0 || errno != EINTR) return false;
  }
  int error = 0;
  return GetIntOption(handle, SOL_SOCKET, SO_ERROR, error) && error == 0;
}

}  // namespace

bool SocketSysPosix::Startup() { return true; }

int SocketSysPosix::Shutdown() { return 0; }

bool SocketSysPosix::ResolveHost(const char* name, NetAddress& out) {
  if (name == nullptr || name[0] == '\0') return false;
  NetAddress resolved;
  if (IsDottedQuad(name)) {
    if (!ParseDottedQuad(name, resolved)) return false;
  } else {
    // The C library would read "127.1" or "2130706433" as addresses; a text of
    // digits and dots that is not a dotted quad is no host name either.
    if (IsNumeric(name)) return false;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(name, nullptr, &hints, &found) != 0 || found == nullptr) return false;
    const sockaddr_in* first = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    std::memcpy(resolved.address, &first->sin_addr, 4);
    freeaddrinfo(found);
  }
  out = NetAddress{};
  std::memcpy(out.address, resolved.address, 4);
  return true;
}

bool SocketSysPosix::LookupName(const uint8_t address[4], char* name, size_t size) {
  if (address == nullptr || name == nullptr || size == 0) return false;
  const sockaddr_in where = ToSockAddr(address, 0);
  char host[NI_MAXHOST];
  if (getnameinfo(reinterpret_cast<const sockaddr*>(&where), sizeof where, host, sizeof host, nullptr, 0,
                  NI_NAMEREQD) != 0) {
    return false;
  }
  std::strncpy(name, host, size - 1);
  name[size - 1] = '\0';
  return true;
}

ITCPServerSocket* SocketSysPosix::CreateTCPServer(uint16_t port, int backlog, bool noDelay, bool blocking,
                                                  bool reuseAddress, const NetAddress* localAddress) {
  const int handle = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
  if (handle < 0) return nullptr;
  // Without SO_REUSEADDR Linux refuses the port for a minute after a game with
  // a connection ended; it never lets two listeners share a port. Sharing,
  // which is what reuseAddress asks for, is SO_REUSEPORT here.
  const bool made = SetIntOption(handle, SOL_SOCKET, SO_REUSEADDR, 1) &&
                    (!reuseAddress || SetIntOption(handle, SOL_SOCKET, SO_REUSEPORT, 1)) &&
                    Bind(handle, BindAddressOf(localAddress), port) && listen(handle, backlog) == 0 &&
                    (!noDelay || SetIntOption(handle, IPPROTO_TCP, TCP_NODELAY, 1)) &&
                    (blocking || SetNonBlocking(handle, true));
  if (!made) {
    close(handle);
    return nullptr;
  }
  return OX_NEW TCPServerSocketPosix(handle, blocking, noDelay);
}

ITCPClientSocket* SocketSysPosix::ConnectTCP(const NetAddress& remote, bool noDelay, bool blocking,
                                             const NetAddress* localAddress) {
  const int handle = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
  if (handle < 0) return nullptr;
  const bool made = (localAddress == nullptr || Bind(handle, localAddress->address, localAddress->port)) &&
                    SetNonBlocking(handle, true) &&
                    ConnectWithin(handle, ToSockAddr(remote.address, remote.port), m_connectTimeoutMs) &&
                    (!noDelay || SetIntOption(handle, IPPROTO_TCP, TCP_NODELAY, 1)) &&
                    SetNonBlocking(handle, !blocking);
  if (!made) {
    close(handle);
    return nullptr;
  }
  return OX_NEW TCPClientSocketPosix(remote, handle);
}

ITCPClientSocket* SocketSysPosix::ConnectTCPByName(const char* host, uint16_t port, bool noDelay,
                                                   bool blocking, const NetAddress* localAddress) {
  NetAddress remote;
  if (!ResolveHost(host, remote)) return nullptr;
  remote.port = port;
  return ConnectTCP(remote, noDelay, blocking, localAddress);
}

void SocketSysPosix::CloseUDP(IUDPSocket* socket) {
  if (socket == nullptr) return;
  UDPSocketPosix* udp = static_cast<UDPSocketPosix*>(socket);
  close(udp->Handle());
  OX_DELETE udp;
}

void SocketSysPosix::CloseTCPServer(ITCPServerSocket* socket) {
  if (socket == nullptr) return;
  TCPServerSocketPosix* server = static_cast<TCPServerSocketPosix*>(socket);
  close(server->Handle());
  OX_DELETE server;
}

void SocketSysPosix::CloseTCPClient(ITCPClientSocket* socket) {
  if (socket == nullptr) return;
  TCPClientSocketPosix* client = static_cast<TCPClientSocketPosix*>(socket);
  close(client->Handle());
  OX_DELETE client;
}

IUDPSocket* SocketSysPosix::CreateUDP(uint16_t port, bool blocking, bool reuseAddress,
                                      const NetAddress* localAddress) {
  const int handle = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
  if (handle < 0) return nullptr;
  const bool made = (!reuseAddress || SetIntOption(handle, SOL_SOCKET, SO_REUSEADDR, 1)) &&
                    Bind(handle, BindAddressOf(localAddress), port) &&
                    (blocking || SetNonBlocking(handle, true));
  if (!made) {
    close(handle);
    return nullptr;
  }
  return OX_NEW UDPSocketPosix(handle);
}
