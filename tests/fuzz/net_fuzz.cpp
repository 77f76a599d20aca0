// Fuzz target: the network receive path, framing and handshake. Each input is
// what the other program sends. Its first byte chooses the side (bit 0: this
// program is the server or the client) and how the bytes arrive (bits 1-7:
// the size of each piece, 1 to 128 bytes), so that headers and payloads are
// cut anywhere. The rest arrives in those pieces through an in-memory socket
// system; after the last piece the peer closes. Every message the connection
// delivers is read to its end, as the game's handlers read theirs.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "game/netconnection.h"
#include "orvix/memtrack.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/memory_sockets.h"

namespace {

// Pumps before the target gives up on a connection that neither ends nor
// drains its input: far more than any input needs.
constexpr int kMaxPumps = 100000;

// Reads every message to its end and answers some, as handlers do.
struct Application {
  NetConnection* connection = nullptr;
  int authentications = 0;
  bool dropped = false;

  void netAuthenticated(const char* peerName) {
    authentications += std::strlen(peerName) <= NetConnection::kNameBytes ? 1 : 0;
  }
  void netRecvData(NetMessage* message) {
    uint8_t byte = 0;
    uint32_t sum = 0;
    while (message->stream.Read(&byte, 1)) sum += byte;
    if (sum % 7 == 0) {
      NetMessage answer(message->type);
      answer.stream.WriteValue(sum);
      connection->Send(answer);
    }
  }
  void netConnectionDropped() { dropped = true; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool started = (fuzz::StartHeadless(), true);
  (void)started;
  if (size == 0) return 0;
  const bool isServer = fuzz::ServerSide(data[0]);
  const int piece = fuzz::PieceSize(data[0]);

  Application application;
  NetConnection connection(NetConnection::kAccessPassword, "Fuzz");
  application.connection = &connection;
  connection.UseSocketSystem(OX_NEW fuzz::MemorySocketSystem(data + 1, size - 1, piece));
  connection.SetCallbacks(
      NetCallbacks::Bind<Application, &Application::netAuthenticated, &Application::netRecvData,
                         &Application::netConnectionDropped>(&application));
  if (isServer ? !connection.Listen(false) : !connection.Connect("127.0.0.1", false)) __builtin_trap();

  // The server accepts on its first pump; either side then reads until the
  // peer's close or its own refusal ends the connection.
  for (int pump = 0; pump < kMaxPumps; ++pump) {
    connection.Pump();
    if (!connection.IsConnected() && (pump > 0 || !isServer)) return 0;
  }
  __builtin_trap();  // a connection that never ends
}
