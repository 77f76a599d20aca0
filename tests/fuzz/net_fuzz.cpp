// Fuzz target: the network receive path, framing and handshake. Each input is
// what the other program sends. Its first byte chooses the side (bit 0: this
// program is the server or the client) and how the bytes arrive (bits 1-7:
// the size of each piece, 1 to 128 bytes), so that headers and payloads are
// cut anywhere. The rest arrives in those pieces through an in-memory socket
// system; after the last piece the peer closes. Every message the connection
// delivers is read to its end, as the game's handlers read theirs.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "game/netconnection.h"
#include "game/socket.h"
#include "orvix/memtrack.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// Pumps before the target gives up on a connection that neither ends nor
// drains its input: far more than any input needs.
constexpr int kMaxPumps = 100000;

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
  const bool isServer = (data[0] & 1) != 0;
  const int piece = 1 + (data[0] >> 1);

  Application application;
  NetConnection connection(NetConnection::kAccessPassword, "Fuzz");
  application.connection = &connection;
  connection.UseSocketSystem(OX_NEW MemorySocketSystem(data + 1, size - 1, piece));
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
