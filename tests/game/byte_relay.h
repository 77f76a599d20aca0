// A go-between for the connection tests: it accepts one client, connects on
// to the server, and forwards the bytes both ways cut into pieces of its own
// choosing, one piece each way per Step. Pumping the connections between
// steps makes each piece arrive as a receive of its own, so frames are split
// at every kind of place.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "game/socketposix.h"

class ByteRelay {
 public:
  enum class Cut { OneByte, RandomSizes };

  ByteRelay(uint16_t serverPort, Cut cut, uint32_t seed);
  ~ByteRelay();
  ByteRelay(const ByteRelay&) = delete;
  ByteRelay& operator=(const ByteRelay&) = delete;

  // Listens on an ephemeral loopback port; false when it cannot.
  bool Listen();
  uint16_t Port() const { return m_port; }
  // Accepts the client when it comes, then moves one piece each way. False
  // once either side has closed.
  bool Step();
  // Closes both sides of the link at once, as a network that fails does; the
  // next Step accepts a new client.
  void CutLink();

 private:
  // Bytes read from one side and not yet passed on. It holds at most
  // kMaxPending, so a receiver that stops reading stops the sender too.
  struct Direction {
    ITCPClientSocket* from = nullptr;  // borrowed from the relay
    ITCPClientSocket* to = nullptr;
    std::vector<uint8_t> pending;
    size_t begin = 0;  // first byte of pending not yet passed on
  };

  bool Move(Direction& direction);
  uint32_t NextPieceSize();

  SocketSysPosix m_sys;
  ITCPServerSocket* m_listener = nullptr;  // owned through m_sys
  ITCPClientSocket* m_client = nullptr;    // owned through m_sys
  ITCPClientSocket* m_server = nullptr;    // owned through m_sys
  Direction m_toServer;
  Direction m_toClient;
  uint16_t m_serverPort;
  uint16_t m_port = 0;
  Cut m_cut;
  std::mt19937 m_random;
};
