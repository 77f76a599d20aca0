// NetConnection: lifetime, framing, the send queue and message reassembly.
//
// Wire format, every message in both directions:
//   offset 0, 4 bytes: message type, unsigned 32-bit little-endian
//   offset 4, 4 bytes: payload length, signed 32-bit little-endian, 0 to 4096
//   offset 8, length bytes: the payload (the message stream's Size bytes)
// TCP hands over bytes, not messages: a frame may arrive in any number of
// pieces and is delivered once it is whole. A length outside 0..4096 means
// the two sides no longer agree where frames begin, and the connection ends.
#include "game/netconnection.h"

#include <climits>
#include <cstdio>

#include "game/socketposix.h"
#include "orvix/logging.h"
#include "orvix/memtrack.h"

namespace {

constexpr uint32_t kHeaderBytes = 8;
constexpr uint16_t kBacklog = 1024;
// One receive takes at most this much.
constexpr int kReceiveChunk = 16 * 1024;

void PutU32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t GetU32(const uint8_t* at) {
  return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
         static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24;
}

Orvix::COrvixLogger& Logger() { return Orvix::CSingleton<Orvix::COrvixLogger>::Instance(); }

}  // namespace

NetConnection::NetConnection(const char* password, const char* userName) {
  std::snprintf(m_password, sizeof m_password, "%.*s", static_cast<int>(kPasswordBytes),
                password != nullptr ? password : "");
  std::snprintf(m_userName, sizeof m_userName, "%.*s", static_cast<int>(kNameBytes),
                userName != nullptr ? userName : "anonymous");
}

NetConnection::~NetConnection() { ReleaseSocketSystem(); }

void NetConnection::SetCallbacks(const NetCallbacks& callbacks) {
  m_callbacks = callbacks;
  EnsureSocketSystem();
}

void NetConnection::UseSocketSystem(ISocketSys* system) {
  ReleaseSocketSystem();
  m_socketSystem = system;
}

void NetConnection::ReleaseSocketSystem() {
  StopListening();
  if (m_socketSystem != nullptr) {
    m_socketSystem->Shutdown();
    OX_DELETE m_socketSystem;
    m_socketSystem = nullptr;
  }
}

bool NetConnection::EnsureSocketSystem() {
  if (m_socketSystem != nullptr) return true;
  m_socketSystem = OX_NEW SocketSysPosix;
  if (m_socketSystem->Startup()) return true;
  Logger().Log("NetConnection: the socket system did not start");
  OX_DELETE m_socketSystem;
  m_socketSystem = nullptr;
  return false;
}

bool NetConnection::Listen(bool blocking, uint16_t port) {
  if (!EnsureSocketSystem()) return false;
  StopListening();
  m_isServer = true;
  m_listener = m_socketSystem->CreateTCPServer(port, kBacklog, true, blocking, false, nullptr);
  return m_listener != nullptr;
}

bool NetConnection::Connect(const char* address, bool blocking, uint16_t port) {
  if (!EnsureSocketSystem()) return false;
  StopListening();
  m_isServer = false;
  ITCPClientSocket* peer = m_socketSystem->ConnectTCPByName(address, port, true, blocking, nullptr);
  if (peer == nullptr) return false;
  AttachPeer(peer);
  return true;
}

uint16_t NetConnection::ListeningPort() const {
  NetAddress local;
  if (m_listener == nullptr || !m_listener->GetLocalAddress(local)) return 0;
  return local.port;
}

void NetConnection::AttachPeer(ITCPClientSocket* peer) {
  m_peer = peer;
  m_authenticated = false;
  m_handshakeStarted = false;
}

void NetConnection::Disconnect() {
  if (m_peer != nullptr) {
    m_socketSystem->CloseTCPClient(m_peer);
    m_peer = nullptr;
  }
  m_sendQueue.Release();
  m_receiveQueue.Release();
  m_authenticated = false;
  m_handshakeStarted = false;
}

void NetConnection::StopListening() {
  Disconnect();
  if (m_listener != nullptr) {
    m_socketSystem->CloseTCPServer(m_listener);
    m_listener = nullptr;
  }
}

void NetConnection::PlayAlone() {
  StopListening();
  m_isServer = true;
}

void NetConnection::Drop() {
  if (m_peer == nullptr) return;
  // Closed before the application hears of it, so that whatever it does in
  // the callback (even a Send) meets a closed connection, and it hears once.
  Disconnect();
  if (m_callbacks.onDropped != nullptr) m_callbacks.onDropped(m_callbacks.context);
}

bool NetConnection::Send(const NetMessage& message) {
  if (m_peer == nullptr) return false;
  const uint32_t length = message.stream.Size();
  if (length > static_cast<uint32_t>(kMaxPayload)) {
    Logger().Log("NetConnection::Send: message %u has %u bytes, more than %d; not sent", message.type, length,
                 kMaxPayload);
    return false;
  }
  QueueFrame(message.type, message.stream.Data(), length);
  return FlushSendQueue();
}

void NetConnection::QueueFrame(uint32_t type, const void* payload, uint32_t length) {
  uint8_t header[kHeaderBytes];
  PutU32(header, type);
  PutU32(header + 4, length);
  m_sendQueue.Append(header, kHeaderBytes);
  m_sendQueue.Append(payload, length);
}

bool NetConnection::FlushSendQueue() {
  while (m_peer != nullptr && !m_sendQueue.Empty()) {
    const uint32_t waiting = m_sendQueue.Size();
    const int sent =
        m_peer->Send(m_sendQueue.Front(), waiting < INT_MAX ? static_cast<int>(waiting) : INT_MAX);
    if (sent < 0) {
      Drop();
      return false;
    }
    if (sent == 0) break;  // the socket is full; the rest goes on a later pump
    m_sendQueue.Consume(static_cast<uint32_t>(sent));
  }
  if (m_sendQueue.Size() > kMaxQueuedBytes) {
    Logger().Log("NetConnection: %u bytes wait for the peer to read them; dropping it as too slow",
                 m_sendQueue.Size());
    Drop();
    return false;
  }
  return m_peer != nullptr;
}

int NetConnection::ReceiveMessage() {
  for (;;) {
    if (m_peer == nullptr) return -1;
    const int taken = TakeBufferedMessage();
    if (taken != 0) return taken;
    if (m_receiveBudget <= 0) return 0;
    --m_receiveBudget;
    const int received = m_peer->Receive(m_receiveQueue.Reserve(kReceiveChunk), kReceiveChunk);
    if (received < 0) {
      Drop();
      return -1;
    }
    if (received == 0) return 0;
    m_receiveQueue.Commit(static_cast<uint32_t>(received));
    // A short read emptied the socket; asking again this pump would only hear
    // that it would block.
    if (received < kReceiveChunk) m_receiveBudget = 0;
  }
}

int NetConnection::TakeBufferedMessage() {
  if (m_receiveQueue.Size() < kHeaderBytes) return 0;
  const uint8_t* frame = m_receiveQueue.Front();
  const uint32_t type = GetU32(frame);
  const int32_t length = static_cast<int32_t>(GetU32(frame + 4));
  if (length < 0 || length > kMaxPayload) {
    Logger().Log(
        "NetConnection: message %u claims %d payload bytes, outside 0 to %d; dropping the connection", type,
        length, kMaxPayload);
    Drop();
    return -1;
  }
  const uint32_t frameBytes = kHeaderBytes + static_cast<uint32_t>(length);
  if (m_receiveQueue.Size() < frameBytes) return 0;
  m_inbound.type = type;
  // Capacity equal to the length: a handler reading past the payload fails
  // instead of reading what an earlier message left.
  m_inbound.stream.Resize(static_cast<uint32_t>(length));
  m_inbound.stream.Write(frame + kHeaderBytes, static_cast<uint32_t>(length));
  m_receiveQueue.Consume(frameBytes);
  return static_cast<int>(frameBytes);
}

void NetConnection::Deliver() {
  if (m_callbacks.onData != nullptr) m_callbacks.onData(m_callbacks.context, &m_inbound);
  m_inbound.stream.Reset();
}
