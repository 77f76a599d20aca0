// Helpers for the connection tests: a recorder of the three callbacks, a loop
// that pumps connections until something happens, and the log.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "game/netconnection.h"
#include "game/socket.h"

struct ReceivedMessage {
  uint32_t type;
  std::vector<uint8_t> payload;
  uint32_t capacity;
};

// Registers itself on a connection through NetCallbacks::Bind, as the
// application does, and keeps what it hears.
class PeerRecorder {
 public:
  explicit PeerRecorder(NetConnection& connection);

  void netAuthenticated(const char* peerName);
  void netRecvData(NetMessage* message);
  void netConnectionDropped();

  std::vector<std::string> names;
  std::vector<ReceivedMessage> messages;
  int drops = 0;
  // Called for each message after it is recorded, when set.
  std::function<void(NetMessage&)> onMessage;
};

// The fields of a hit report (message 6), as they lie in its payload.
struct HitReportFields {
  uint32_t uid;
  float x, y, health, flashTime;
  int32_t direction, push;
};
// Reads a hit report; false when the message is not a whole one.
bool ReadHitReport(const ReceivedMessage& message, HitReportFields* fields);

// Pumps the connections (each once per round, in order) until done() holds or
// the time runs out; true when done() held.
bool PumpUntil(std::initializer_list<NetConnection*> connections, const std::function<bool()>& done,
               int timeoutMs = 5000);
// Pumps for a fixed time, for cases where nothing must happen.
void PumpFor(std::initializer_list<NetConnection*> connections, int milliseconds);

// 127.0.0.1 with the given port.
NetAddress LoopbackAddress(uint16_t port);

// Makes `server` listen on a free port and `client` connect to it over
// loopback, then pumps both until the handshake is done on each side.
bool ConnectOnLoopback(NetConnection& server, NetConnection& client);

// A message with the given type and payload bytes.
void FillMessage(NetMessage& message, uint32_t type, const std::vector<uint8_t>& payload);

// The logger writes nowhere until initialised; tests that check log lines
// start it (once per process) writing to /dev/null and read its buffer.
void StartTestLog();
bool LogContains(const std::string& text);
