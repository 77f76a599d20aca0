// Small pieces shared by the POSIX socket classes.
#pragma once

#include <netinet/in.h>

#include "game/socket.h"

namespace SocketPosix {

sockaddr_in ToSockAddr(const uint8_t address[4], uint16_t port);
NetAddress FromSockAddr(const sockaddr_in& address);

bool SetNonBlocking(int handle, bool nonBlocking);
bool SetIntOption(int handle, int level, int option, int value);
bool GetIntOption(int handle, int level, int option, int& value);
bool LocalAddressOf(int handle, NetAddress& out);
// The error only means "try again later" on a non-blocking socket.
bool IsWouldBlock(int error);

}  // namespace SocketPosix
