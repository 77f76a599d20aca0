#include "byte_relay.h"

#include <algorithm>

#include "net_test_support.h"

namespace {

constexpr size_t kMaxPending = 64 * 1024;
constexpr size_t kRefillBelow = 8 * 1024;  // fewer receives when pieces are small

}  // namespace

ByteRelay::ByteRelay(uint16_t serverPort, Cut cut, uint32_t seed)
    : m_serverPort(serverPort), m_cut(cut), m_random(seed) {}

ByteRelay::~ByteRelay() {
  m_sys.CloseTCPClient(m_client);
  m_sys.CloseTCPClient(m_server);
  m_sys.CloseTCPServer(m_listener);
}

bool ByteRelay::Listen() {
  const NetAddress local = LoopbackAddress(0);
  m_listener = m_sys.CreateTCPServer(0, 4, true, false, false, &local);
  NetAddress bound;
  if (m_listener == nullptr || !m_listener->GetLocalAddress(bound)) return false;
  m_port = bound.port;
  return true;
}

bool ByteRelay::Step() {
  if (m_client == nullptr) {
    m_client = m_listener->Accept();
    if (m_client == nullptr) return true;
    m_server = m_sys.ConnectTCP(LoopbackAddress(m_serverPort), true, false, nullptr);
    if (m_server == nullptr) return false;
    m_toServer.from = m_client;
    m_toServer.to = m_server;
    m_toClient.from = m_server;
    m_toClient.to = m_client;
  }
  return Move(m_toServer) && Move(m_toClient);
}

bool ByteRelay::Move(Direction& direction) {
  std::vector<uint8_t>& bytes = direction.pending;
  if (bytes.size() - direction.begin < kRefillBelow) {
    bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(direction.begin));
    direction.begin = 0;
    const size_t held = bytes.size();
    bytes.resize(kMaxPending);
    const int received = direction.from->Receive(bytes.data() + held, static_cast<int>(kMaxPending - held));
    bytes.resize(held + static_cast<size_t>(std::max(received, 0)));
    if (received < 0) return false;
  }
  const size_t waiting = bytes.size() - direction.begin;
  if (waiting == 0) return true;
  const size_t piece = std::min<size_t>(NextPieceSize(), waiting);
  const int sent = direction.to->Send(bytes.data() + direction.begin, static_cast<int>(piece));
  if (sent < 0) return false;
  direction.begin += static_cast<size_t>(sent);
  return true;
}

void ByteRelay::CutLink() {
  m_sys.CloseTCPClient(m_client);
  m_sys.CloseTCPClient(m_server);
  m_client = nullptr;
  m_server = nullptr;
  m_toServer = Direction{};
  m_toClient = Direction{};
}

uint32_t ByteRelay::NextPieceSize() {
  if (m_cut == Cut::OneByte) return 1;
  // Half of the pieces tiny, so headers are split often; the rest up to two
  // whole frames long.
  const uint32_t largest = (m_random() & 1) != 0 ? 16 : 8192;
  return 1 + m_random() % largest;
}
