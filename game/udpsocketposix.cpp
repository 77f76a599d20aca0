// UDP sockets over POSIX. The game does not use them; they follow the same
// conventions as the TCP sockets.
#include <sys/socket.h>

#include <cerrno>

#include "game/socketposix.h"
#include "game/socketposixutil.h"

using namespace SocketPosix;

namespace {
// An IPv4 datagram of 65535 bytes less its 20-byte IP and 8-byte UDP headers.
constexpr int kMaxIPv4Payload = 65507;
}  // namespace

int UDPSocketPosix::SendTo(const NetAddress& address, const void* bytes, int length) {
  if (length < 0 || (length > 0 && bytes == nullptr)) return -1;
  const sockaddr_in remote = ToSockAddr(address.address, address.port);
  const ssize_t sent = sendto(m_handle, bytes, static_cast<size_t>(length), MSG_NOSIGNAL,
                              reinterpret_cast<const sockaddr*>(&remote), sizeof remote);
  if (sent >= 0) return static_cast<int>(sent);
  return IsWouldBlock(errno) ? 0 : -1;
}

int UDPSocketPosix::ReceiveFrom(NetAddress& out, void* buffer, int length) {
  if (length < 0 || (length > 0 && buffer == nullptr)) return -1;
  sockaddr_in sender{};
  socklen_t size = sizeof sender;
  const ssize_t received =
      recvfrom(m_handle, buffer, static_cast<size_t>(length), 0, reinterpret_cast<sockaddr*>(&sender), &size);
  if (received >= 0) {
    out = FromSockAddr(sender);
    return static_cast<int>(received);
  }
  if (!IsWouldBlock(errno)) return -1;
  for (uint8_t& byte : out.address) byte = 0;
  return 0;
}

bool UDPSocketPosix::SetBlocking(bool blocking) { return SetNonBlocking(m_handle, !blocking); }

int UDPSocketPosix::GetMaxMessageSize() { return kMaxIPv4Payload; }

bool UDPSocketPosix::GetLocalAddress(NetAddress& out) { return LocalAddressOf(m_handle, out); }
