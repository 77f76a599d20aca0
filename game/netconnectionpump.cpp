// NetConnection: the per-frame pump and the handshake.
//
// Handshake (payload texts are zero-padded to their width):
//   155 server -> client  hello, no payload
//   156 client -> server  password (32 bytes), user name (64 bytes)
//   157 server -> client  wrong password, no payload; the server closes
//   158 server -> client  accepted: the server's user name (64 bytes)
// No game message is delivered on either side before it completes; the server
// ignores any that a client sends early.
#include <cstring>

#include "game/netconnection.h"
#include "game/socket.h"
#include "orvix/platform.h"

bool NetConnection::Pump() {
  m_receiveBudget = kMaxReceivesPerPump;
  return m_isServer ? PumpServer() : PumpClient();
}

bool NetConnection::PumpServer() {
  if (m_peer == nullptr) {
    if (m_listener == nullptr) return true;
    ITCPClientSocket* peer = m_listener->Accept();
    if (peer == nullptr) return true;
    // One accept a frame; the client's answer to the hello comes later anyway.
    AttachPeer(peer);
    SendHello();
    return m_peer != nullptr;
  }
  if (!FlushSendQueue()) return false;
  for (;;) {
    const int received = ReceiveMessage();
    if (received < 0) return false;
    if (received == 0) return true;
    if (m_authenticated) {
      Deliver();
    } else if (m_inbound.type == kCredentials) {
      if (!CheckCredentials()) return false;
    }
    if (m_peer == nullptr) return false;  // a callback closed the connection
  }
}

bool NetConnection::PumpClient() {
  if (m_peer == nullptr) return true;
  if (!FlushSendQueue()) return false;
  for (;;) {
    const int received = ReceiveMessage();
    if (received < 0) return false;
    if (received == 0) return true;
    if (m_authenticated) {
      Deliver();
    } else if (!m_handshakeStarted) {
      if (m_inbound.type == kHello) SendCredentials();
    } else if (m_inbound.type == kAccepted) {
      AcceptServerName();
    } else if (m_inbound.type == kRejected) {
      Disconnect();
      Orvix::MessageBoxA(nullptr, "Authentication Failed", "Network error", Orvix::MB_OK);
      return false;
    }
    if (m_peer == nullptr) return false;
  }
}

void NetConnection::SendHello() {
  QueueFrame(kHello, nullptr, 0);
  m_handshakeStarted = true;
  FlushSendQueue();
}

bool NetConnection::CheckCredentials() {
  // One byte more than the fields, so that a peer's unterminated text ends here.
  char password[kPasswordBytes + 1] = {};
  char name[kNameBytes + 1] = {};
  m_inbound.stream.Read(password, kPasswordBytes);
  m_inbound.stream.Read(name, kNameBytes);
  if (std::strcmp(password, m_password) != 0) {
    QueueFrame(kRejected, nullptr, 0);
    FlushSendQueue();
    Disconnect();
    return false;
  }
  QueueFrame(kAccepted, m_userName, kNameBytes);
  if (!FlushSendQueue()) return false;
  m_authenticated = true;
  if (m_callbacks.onAuthenticated != nullptr) m_callbacks.onAuthenticated(m_callbacks.context, name);
  return true;
}

void NetConnection::SendCredentials() {
  uint8_t credentials[kPasswordBytes + kNameBytes];
  std::memcpy(credentials, m_password, kPasswordBytes);
  std::memcpy(credentials + kPasswordBytes, m_userName, kNameBytes);
  QueueFrame(kCredentials, credentials, sizeof credentials);
  m_handshakeStarted = true;
  FlushSendQueue();
}

void NetConnection::AcceptServerName() {
  char name[kNameBytes + 1] = {};
  m_inbound.stream.Read(name, kNameBytes);
  m_authenticated = true;
  if (m_callbacks.onAuthenticated != nullptr) m_callbacks.onAuthenticated(m_callbacks.context, name);
}
