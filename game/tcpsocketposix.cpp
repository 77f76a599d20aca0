// TCP connections and listeners over POSIX sockets.
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "game/socketposix.h"
#include "game/socketposixutil.h"
#include "orvix/memtrack.h"

using namespace SocketPosix;

int TCPClientSocketPosix::Send(const void* bytes, int length) {
  if (length < 0 || (length > 0 && bytes == nullptr)) return -1;
  if (length == 0) return 0;
  // MSG_NOSIGNAL: a peer that has gone is a -1 here, not a signal that ends the game.
  const ssize_t sent = send(m_handle, bytes, static_cast<size_t>(length), MSG_NOSIGNAL);
  if (sent > 0) return static_cast<int>(sent);
  if (sent == 0) return -1;
  return IsWouldBlock(errno) ? 0 : -1;
}

int TCPClientSocketPosix::Receive(void* buffer, int length) {
  if (length < 0 || (length > 0 && buffer == nullptr)) return -1;
  if (length == 0) return 0;
  const ssize_t received = recv(m_handle, buffer, static_cast<size_t>(length), 0);
  if (received > 0) return static_cast<int>(received);
  if (received == 0) return -1;  // the peer closed the connection
  return IsWouldBlock(errno) ? 0 : -1;
}

bool TCPClientSocketPosix::GetNoDelay() {
  int value = 0;
  return GetIntOption(m_handle, IPPROTO_TCP, TCP_NODELAY, value) && value != 0;
}

bool TCPClientSocketPosix::SetNoDelay(bool on) {
  return SetIntOption(m_handle, IPPROTO_TCP, TCP_NODELAY, on ? 1 : 0);
}

bool TCPClientSocketPosix::SetBlocking(bool blocking) { return SetNonBlocking(m_handle, !blocking); }

ITCPClientSocket* TCPServerSocketPosix::Accept() {
  sockaddr_in peer{};
  socklen_t size = sizeof peer;
  const int flags = SOCK_CLOEXEC | (m_blocking ? 0 : SOCK_NONBLOCK);
  const int handle = accept4(m_handle, reinterpret_cast<sockaddr*>(&peer), &size, flags);
  if (handle < 0) return nullptr;
  if (m_noDelay && !SetIntOption(handle, IPPROTO_TCP, TCP_NODELAY, 1)) {
    close(handle);
    return nullptr;
  }
  return OX_NEW TCPClientSocketPosix(FromSockAddr(peer), handle);
}

bool TCPServerSocketPosix::GetLocalAddress(NetAddress& out) { return LocalAddressOf(m_handle, out); }
