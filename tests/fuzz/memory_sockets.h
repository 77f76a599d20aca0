// An in-memory socket system for the network fuzz targets: the one
// connection it makes, by accept or by connect, receives a given byte string
// in pieces of a fixed size and then reports that the peer has closed;
// everything sent to it is taken and dropped.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "game/socket.h"
#include "orvix/memtrack.h"

namespace fuzz {

// The first byte of a network fuzz input: bit 0 set makes this program the
// server, bits 1-7 give the size of each piece the rest arrives in (1 to 128).
inline bool ServerSide(uint8_t control) { return (control & 1) != 0; }
inline int PieceSize(uint8_t control) { return 1 + (control >> 1); }

// The peer: hands out the input in pieces, takes everything sent to it.
class MemoryPeer final : public ITCPClientSocket {
 public:
  MemoryPeer(const uint8_t* data, size_t size, int piece) : m_data(data), m_size(size), m_piece(piece) {}
  ~MemoryPeer() = default;

  int Send(const void*, int length) override { return length; }
  int Receive(void* buffer, int length) override {
    if (m_offset == m_size) return -1;  // the peer has closed
    if (length <= 0) return 0;
    const size_t count =
        std::min({m_size - m_offset, static_cast<size_t>(length), static_cast<size_t>(m_piece)});
    std::memcpy(buffer, m_data + m_offset, count);
    m_offset += count;
    return static_cast<int>(count);
  }
  bool GetNoDelay() override { return true; }
  bool SetNoDelay(bool) override { return true; }
  bool SetBlocking(bool) override { return true; }

 private:
  const uint8_t* m_data;
  size_t m_size;
  size_t m_offset = 0;
  int m_piece;
};

class MemoryListener final : public ITCPServerSocket {
 public:
  explicit MemoryListener(MemoryPeer* peer) : m_peer(peer) {}
  ~MemoryListener() = default;
  ITCPClientSocket* Accept() override {
    ITCPClientSocket* peer = m_peer;
    m_peer = nullptr;
    return peer;
  }
  bool GetLocalAddress(NetAddress& out) override {
    out = NetAddress();
    return true;
  }

 private:
  MemoryPeer* m_peer;  // handed over by the first Accept
};

// Makes one peer for one connection, whichever side asks.
class MemorySocketSystem final : public ISocketSys {
 public:
  MemorySocketSystem(const uint8_t* data, size_t size, int piece)
      : m_peer(OX_NEW MemoryPeer(data, size, piece)) {}
  ~MemorySocketSystem() override {
    OX_DELETE m_peer;  // when nobody took it
  }

  bool Startup() override { return true; }
  int Shutdown() override { return 0; }
  bool ResolveHost(const char*, NetAddress&) override { return false; }
  bool LookupName(const uint8_t*, char*, size_t) override { return false; }
  ITCPServerSocket* CreateTCPServer(uint16_t, int, bool, bool, bool, const NetAddress*) override {
    MemoryListener* listener = OX_NEW MemoryListener(m_peer);
    m_peer = nullptr;
    return listener;
  }
  ITCPClientSocket* ConnectTCP(const NetAddress&, bool, bool, const NetAddress*) override {
    return TakePeer();
  }
  ITCPClientSocket* ConnectTCPByName(const char*, uint16_t, bool, bool, const NetAddress*) override {
    return TakePeer();
  }
  void CloseUDP(IUDPSocket*) override {}
  void CloseTCPServer(ITCPServerSocket* socket) override {
    MemoryListener* listener = static_cast<MemoryListener*>(socket);
    if (ITCPClientSocket* unaccepted = listener->Accept()) OX_DELETE static_cast<MemoryPeer*>(unaccepted);
    OX_DELETE listener;
  }
  void CloseTCPClient(ITCPClientSocket* socket) override { OX_DELETE static_cast<MemoryPeer*>(socket); }
  IUDPSocket* CreateUDP(uint16_t, bool, bool, const NetAddress*) override { return nullptr; }

 private:
  MemoryPeer* TakePeer() {
    MemoryPeer* peer = m_peer;
    m_peer = nullptr;
    return peer;
  }

  MemoryPeer* m_peer;  // until a listener or a connect takes it
};

}  // namespace fuzz
