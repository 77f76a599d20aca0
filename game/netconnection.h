// NetConnection: the game's one network endpoint. The server listens and
// serves one client at a time; the client connects to it. Over the TCP
// connection both sides exchange length-prefixed typed messages, after a
// four-message handshake in which the client shows the shared password and
// both sides learn the other player's name. Everything is polled from the
// frame loop through Pump; the application hears of events through three
// callbacks.
#pragma once

#include <cstdint>

#include "game/net.h"
#include "game/netbytequeue.h"

class ISocketSys;
class ITCPClientSocket;
class ITCPServerSocket;

// The application's three entry points, called from inside Pump (and, for a
// failed send, from inside Send). Any of them may be null. Bind lets an object
// register its member functions:
//   connection.SetCallbacks(NetCallbacks::Bind<CTestApp, &CTestApp::netAuthenticated,
//                           &CTestApp::netRecvData, &CTestApp::netConnectionDropped>(this));
struct NetCallbacks {
  void* context = nullptr;
  void (*onAuthenticated)(void* context, const char* peerName) = nullptr;
  void (*onData)(void* context, NetMessage* message) = nullptr;
  void (*onDropped)(void* context) = nullptr;

  template <typename T, void (T::*Authenticated)(const char*), void (T::*Data)(NetMessage*),
            void (T::*Dropped)()>
  static NetCallbacks Bind(T* owner) {
    NetCallbacks callbacks;
    callbacks.context = owner;
    callbacks.onAuthenticated = [](void* self, const char* name) {
      (static_cast<T*>(self)->*Authenticated)(name);
    };
    callbacks.onData = [](void* self, NetMessage* message) { (static_cast<T*>(self)->*Data)(message); };
    callbacks.onDropped = [](void* self) { (static_cast<T*>(self)->*Dropped)(); };
    return callbacks;
  }
};

class NetConnection {
 public:
  static constexpr uint16_t kGamePort = 3203;
  // Every copy of the game carries the same access password.
  static constexpr const char* kAccessPassword = "4829170365518294037716602948153";
  static constexpr int32_t kMaxPayload = 4096;
  // A peer that leaves this much of our output unread is dropped as too slow.
  static constexpr uint32_t kMaxQueuedBytes = 1u << 20;

  // Handshake message types; the game's own messages use 0 to 13.
  static constexpr uint32_t kHello = 155;
  static constexpr uint32_t kCredentials = 156;
  static constexpr uint32_t kRejected = 157;
  static constexpr uint32_t kAccepted = 158;
  static constexpr uint32_t kPasswordBytes = 32;
  static constexpr uint32_t kNameBytes = 64;

  // Keeps at most 32 characters of the password and 64 of the name ("anonymous"
  // when there is none).
  NetConnection(const char* password, const char* userName);
  ~NetConnection();
  NetConnection(const NetConnection&) = delete;
  NetConnection& operator=(const NetConnection&) = delete;

  // Stores the callbacks and starts the socket system.
  void SetCallbacks(const NetCallbacks& callbacks);
  // Makes `system` (owned from now on, already started) the connection's
  // socket system in place of the platform's, closing what the previous one
  // held; lets a test or fuzz target feed the connection from memory. Call it
  // before Listen or Connect.
  void UseSocketSystem(ISocketSys* system);

  // Becomes the server: listens for one client at a time. Port 0 lets the
  // system choose (ListeningPort tells which).
  bool Listen(bool blocking, uint16_t port = kGamePort);
  // Becomes the client. The connect waits a few seconds at most.
  bool Connect(const char* address, bool blocking, uint16_t port = kGamePort);

  // Accepts, runs the handshake, finishes queued sends and delivers every
  // complete message. False when the connection was closed during this call.
  bool Pump();
  // Frames the message and sends it, queueing what the socket does not take
  // now. False when there is no peer, the payload is above 4096 bytes, or the
  // connection dropped while sending.
  bool Send(const NetMessage& message);

  bool IsConnected() const { return m_peer != nullptr; }
  bool IsAuthenticated() const { return m_authenticated; }
  bool IsServer() const { return m_isServer; }
  bool IsListening() const { return m_listener != nullptr; }
  uint16_t ListeningPort() const;
  // Framed bytes waiting for the socket to take them.
  uint32_t QueuedBytes() const { return m_sendQueue.Size(); }

  void Disconnect();
  void StopListening();
  // A client that could not reach its server plays alone: it runs the world
  // as the server does (IsServer is true) but does not listen. Closes any
  // connection or listener first.
  void PlayAlone();

 private:
  bool EnsureSocketSystem();
  // Closes the peer and the listener, then stops and releases the socket system.
  void ReleaseSocketSystem();
  void AttachPeer(ITCPClientSocket* peer);
  // Connection lost or refused by us: tells the application, then closes.
  void Drop();

  void QueueFrame(uint32_t type, const void* payload, uint32_t length);
  bool FlushSendQueue();
  // -1 the connection dropped, 0 no complete message yet, otherwise the bytes
  // of the message now in m_inbound.
  int ReceiveMessage();
  int TakeBufferedMessage();
  void Deliver();

  bool PumpServer();
  bool PumpClient();
  void SendHello();
  bool CheckCredentials();
  void SendCredentials();
  void AcceptServerName();

  NetCallbacks m_callbacks;
  ISocketSys* m_socketSystem = nullptr;    // owned, started by SetCallbacks
  ITCPClientSocket* m_peer = nullptr;      // owned through the socket system; null when none
  ITCPServerSocket* m_listener = nullptr;  // owned through the socket system; server only
  bool m_isServer = false;
  bool m_authenticated = false;
  bool m_handshakeStarted = false;  // server: hello sent; client: credentials sent
  NetMessage m_inbound;             // the message being delivered
  char m_userName[kNameBytes + 1] = {};
  char m_password[kPasswordBytes + 1] = {};
  NetByteQueue m_sendQueue;     // framed bytes the socket has not taken yet
  NetByteQueue m_receiveQueue;  // received bytes not yet making a whole message
  // Receives left in this pump: a peer that floods us cannot keep the frame
  // from ending, and the rest waits in the socket for the next pump.
  static constexpr int kMaxReceivesPerPump = 64;
  int m_receiveBudget = 0;
};
