#include "game/socketposixutil.h"

#include <fcntl.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

namespace SocketPosix {

sockaddr_in ToSockAddr(const uint8_t address[4], uint16_t port) {
  sockaddr_in result{};
  result.sin_family = AF_INET;
  result.sin_port = htons(port);
  std::memcpy(&result.sin_addr, address, 4);
  return result;
}

NetAddress FromSockAddr(const sockaddr_in& address) {
  NetAddress result;
  std::memcpy(result.address, &address.sin_addr, 4);
  result.port = ntohs(address.sin_port);
  return result;
}

bool SetNonBlocking(int handle, bool nonBlocking) {
  const int flags = fcntl(handle, F_GETFL, 0);
  if (flags < 0) return false;
  const int wanted = nonBlocking ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
  return wanted == flags || fcntl(handle, F_SETFL, wanted) == 0;
}

bool SetIntOption(int handle, int level, int option, int value) {
  return setsockopt(handle, level, option, &value, sizeof value) == 0;
}

bool GetIntOption(int handle, int level, int option, int& value) {
  socklen_t size = sizeof value;
  return getsockopt(handle, level, option, &value, &size) == 0;
}

bool LocalAddressOf(int handle, NetAddress& out) {
  sockaddr_in local{};
  socklen_t size = sizeof local;
  if (getsockname(handle, reinterpret_cast<sockaddr*>(&local), &size) != 0 || local.sin_family != AF_INET) {
    return false;
  }
  out = FromSockAddr(local);
  return true;
}

bool IsWouldBlock(int error) { return error == EAGAIN || error == EWOULDBLOCK || error == EINTR; }

}  // namespace SocketPosix
