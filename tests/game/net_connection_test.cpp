#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "game/netconnection.h"
#include "game/socketposix.h"
#include "net_test_support.h"

namespace {

const char* const kPassword = NetConnection::kAccessPassword;

std::vector<uint8_t> Frame(uint32_t type, int32_t length, const std::vector<uint8_t>& payload = {}) {
  std::vector<uint8_t> frame(8);
  std::memcpy(frame.data(), &type, 4);
  std::memcpy(frame.data() + 4, &length, 4);
  frame.insert(frame.end(), payload.begin(), payload.end());
  return frame;
}

std::vector<uint8_t> Padded(const char* text, size_t width) {
  std::vector<uint8_t> bytes(width, 0);
  std::memcpy(bytes.data(), text, std::min(width, std::strlen(text)));
  return bytes;
}

std::vector<uint8_t> Credentials(const char* password, const char* name) {
  std::vector<uint8_t> payload = Padded(password, 32);
  const std::vector<uint8_t> padded = Padded(name, 64);
  payload.insert(payload.end(), padded.begin(), padded.end());
  return payload;
}

// A peer speaking the wire format by hand through plain sockets.
class RawPeer {
 public:
  ~RawPeer() {
    if (m_socket != nullptr) m_sys.CloseTCPClient(m_socket);
  }

  bool Connect(uint16_t port) {
    m_socket = m_sys.ConnectTCPByName("127.0.0.1", port, true, false, nullptr);
    return m_socket != nullptr;
  }

  void Send(const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
      const int sent = m_socket->Send(bytes.data() + done, static_cast<int>(bytes.size() - done));
      ASSERT_GE(sent, 0);
      done += static_cast<size_t>(sent);
    }
  }

  // Exactly count bytes, pumping the connection meanwhile; empty on timeout or close.
  std::vector<uint8_t> Read(size_t count, NetConnection& pumped) {
    std::vector<uint8_t> bytes(count);
    size_t done = 0;
    const bool complete = PumpUntil({&pumped}, [&] {
      if (done == count) return true;
      const int received = m_socket->Receive(bytes.data() + done, static_cast<int>(count - done));
      if (received < 0) count = 0;
      if (received > 0) done += static_cast<size_t>(received);
      return done == count;
    });
    return complete && count > 0 ? bytes : std::vector<uint8_t>{};
  }

  // True once the other side has closed the connection.
  bool SeesClose(NetConnection& pumped) {
    char byte;
    return PumpUntil({&pumped}, [&] { return m_socket->Receive(&byte, 1) < 0; });
  }

  // The whole handshake as a client; true when accepted.
  bool Authenticate(const char* name, NetConnection& server) {
    if (Read(8, server) != Frame(NetConnection::kHello, 0)) return false;
    Send(Frame(NetConnection::kCredentials, 96, Credentials(kPassword, name)));
    const std::vector<uint8_t> accepted = Read(8 + 64, server);
    return !accepted.empty() && accepted[0] == NetConnection::kAccepted;
  }

 private:
  SocketSysPosix m_sys;
  ITCPClientSocket* m_socket = nullptr;
};

class NetConnectionTest : public testing::Test {
 protected:
  void SetUp() override {
    StartTestLog();
    ASSERT_TRUE(server.Listen(false, 0));
    port = server.ListeningPort();
    ASSERT_NE(port, 0);
  }

  bool ConnectClient(NetConnection& connection) { return connection.Connect("127.0.0.1", false, port); }

  bool Authenticate(NetConnection& connection, PeerRecorder& recorder) {
    const size_t serverNamesBefore = serverLog.names.size();
    return ConnectClient(connection) && PumpUntil({&server, &connection}, [&] {
             return !recorder.names.empty() && serverLog.names.size() > serverNamesBefore;
           });
  }

  NetConnection server{kPassword, "Ayla"};
  PeerRecorder serverLog{server};
  NetConnection client{kPassword, "Bren"};
  PeerRecorder clientLog{client};
  uint16_t port = 0;
};

}  // namespace

TEST_F(NetConnectionTest, HandshakeTellsEachSideTheOthersNameOnce) {
  ASSERT_TRUE(Authenticate(client, clientLog));
  PumpFor({&server, &client}, 50);
  EXPECT_EQ(serverLog.names, std::vector<std::string>{"Bren"});
  EXPECT_EQ(clientLog.names, std::vector<std::string>{"Ayla"});
  EXPECT_TRUE(server.IsAuthenticated());
  EXPECT_TRUE(client.IsAuthenticated());
  EXPECT_TRUE(server.IsServer());
  EXPECT_FALSE(client.IsServer());
  EXPECT_TRUE(serverLog.messages.empty());
  EXPECT_TRUE(clientLog.messages.empty());
}

TEST_F(NetConnectionTest, HandshakeOnTheWireIsHelloCredentialsAndTheServersPaddedName) {
  RawPeer raw;
  ASSERT_TRUE(raw.Connect(port));
  EXPECT_EQ(raw.Read(8, server), (std::vector<uint8_t>{155, 0, 0, 0, 0, 0, 0, 0}));
  raw.Send(Frame(156, 96, Credentials(kPassword, "Raw")));
  EXPECT_EQ(raw.Read(8 + 64, server), Frame(158, 64, Padded("Ayla", 64)));
  EXPECT_EQ(serverLog.names, std::vector<std::string>{"Raw"});
}

TEST_F(NetConnectionTest, WrongPasswordIsAnswered157AndTheServerCloses) {
  RawPeer raw;
  ASSERT_TRUE(raw.Connect(port));
  ASSERT_EQ(raw.Read(8, server), Frame(155, 0));
  raw.Send(Frame(156, 96, Credentials("1234", "Mallory")));
  EXPECT_EQ(raw.Read(8, server), Frame(157, 0));
  EXPECT_TRUE(raw.SeesClose(server));
  EXPECT_TRUE(serverLog.names.empty());
  EXPECT_FALSE(server.IsConnected());
  EXPECT_TRUE(server.IsListening());
  EXPECT_EQ(serverLog.drops, 0);
}

TEST_F(NetConnectionTest, ClientWithTheWrongPasswordShowsAuthenticationFailedAndCloses) {
  NetConnection intruder("0000", "Mallory");
  PeerRecorder intruderLog(intruder);
  ASSERT_TRUE(ConnectClient(intruder));
  testing::internal::CaptureStderr();
  bool closed = false;
  const bool ended = PumpUntil({&server}, [&] {
    closed = closed || !intruder.Pump();
    return closed;
  });
  const std::string shown = testing::internal::GetCapturedStderr();
  ASSERT_TRUE(ended);
  EXPECT_NE(shown.find("Network error"), std::string::npos) << shown;
  EXPECT_NE(shown.find("Authentication Failed"), std::string::npos) << shown;
  EXPECT_FALSE(intruder.IsConnected());
  EXPECT_FALSE(intruder.IsAuthenticated());
  EXPECT_TRUE(intruderLog.names.empty());
  EXPECT_TRUE(serverLog.names.empty());
}

TEST_F(NetConnectionTest, PeerNamesAreCutAtSixtyFourBytesAndShortCredentialsGiveAnEmptyName) {
  const struct {
    const char* label;
    std::vector<uint8_t> payload;
    std::string expectedName;
  } cases[] = {
      {"unterminated name",
       [] {
         std::vector<uint8_t> p = Padded(kPassword, 32);
         p.insert(p.end(), 80, 'N');  // longer than the field, no terminator
         return p;
       }(),
       std::string(64, 'N')},
      {"password only", Padded(kPassword, 32), ""},
  };
  for (const auto& c : cases) {
    RawPeer raw;
    ASSERT_TRUE(raw.Connect(port)) << c.label;
    ASSERT_EQ(raw.Read(8, server), Frame(155, 0)) << c.label;
    serverLog.names.clear();
    raw.Send(Frame(156, static_cast<int32_t>(c.payload.size()), c.payload));
    ASSERT_EQ(raw.Read(8 + 64, server).size(), 72u) << c.label;
    EXPECT_EQ(serverLog.names, std::vector<std::string>{c.expectedName}) << c.label;
    server.Disconnect();
  }
}

TEST_F(NetConnectionTest, GameMessageSentBeforeTheHandshakeEndsIsIgnoredByTheServer) {
  ASSERT_TRUE(ConnectClient(client));
  NetMessage early;
  FillMessage(early, 7, {1, 2, 3, 4});
  ASSERT_TRUE(client.Send(early));
  ASSERT_TRUE(PumpUntil({&server, &client}, [&] { return client.IsAuthenticated(); }));
  NetMessage later;
  FillMessage(later, 8, {9, 9});
  ASSERT_TRUE(client.Send(later));
  ASSERT_TRUE(PumpUntil({&server, &client}, [&] { return !serverLog.messages.empty(); }));
  PumpFor({&server, &client}, 30);
  ASSERT_EQ(serverLog.messages.size(), 1u);
  EXPECT_EQ(serverLog.messages[0].type, 8u);
  EXPECT_EQ(serverLog.messages[0].payload, (std::vector<uint8_t>{9, 9}));
}

TEST_F(NetConnectionTest, MessagesOfZeroAndOfTheLargestLengthArriveWhole) {
  ASSERT_TRUE(Authenticate(client, clientLog));
  std::vector<uint8_t> largest(NetConnection::kMaxPayload);
  for (size_t i = 0; i < largest.size(); ++i) largest[i] = static_cast<uint8_t>(i * 7);
  NetMessage empty;
  FillMessage(empty, 5, {});
  NetMessage full;
  FillMessage(full, 13, largest);
  ASSERT_TRUE(client.Send(empty));
  ASSERT_TRUE(server.Send(full));
  ASSERT_TRUE(client.Send(full));
  ASSERT_TRUE(PumpUntil({&server, &client},
                        [&] { return serverLog.messages.size() == 2 && clientLog.messages.size() == 1; }));
  EXPECT_EQ(serverLog.messages[0].type, 5u);
  EXPECT_TRUE(serverLog.messages[0].payload.empty());
  EXPECT_EQ(serverLog.messages[0].capacity, 0u) << "reads from an empty message must fail";
  EXPECT_EQ(serverLog.messages[1].payload, largest);
  EXPECT_EQ(serverLog.messages[1].capacity, largest.size());
  EXPECT_EQ(clientLog.messages[0].type, 13u);
  EXPECT_EQ(clientLog.messages[0].payload, largest);
}

TEST_F(NetConnectionTest, PayloadAboveTheLimitIsRefusedAndTheConnectionGoesOn) {
  ASSERT_TRUE(Authenticate(client, clientLog));
  NetMessage tooLarge(2, NetConnection::kMaxPayload + 1);
  tooLarge.stream.Write(std::vector<uint8_t>(NetConnection::kMaxPayload + 1, 1).data(),
                        NetConnection::kMaxPayload + 1);
  EXPECT_FALSE(client.Send(tooLarge));
  EXPECT_TRUE(LogContains("NetConnection::Send: message 2 has 4097 bytes, more than 4096; not sent"));
  NetMessage fine;
  FillMessage(fine, 3, {42});
  ASSERT_TRUE(client.Send(fine));
  ASSERT_TRUE(PumpUntil({&server, &client}, [&] { return !serverLog.messages.empty(); }));
  EXPECT_EQ(serverLog.messages[0].type, 3u);
  EXPECT_EQ(serverLog.drops, 0);
}

TEST_F(NetConnectionTest, SecondClientWaitsInTheBacklogUntilTheFirstLeaves) {
  ASSERT_TRUE(Authenticate(client, clientLog));
  NetConnection second(kPassword, "Cato");
  PeerRecorder secondLog(second);
  ASSERT_TRUE(ConnectClient(second)) << "the backlog takes the connection";
  PumpFor({&server, &client, &second}, 200);
  EXPECT_TRUE(secondLog.names.empty());
  EXPECT_FALSE(second.IsAuthenticated());

  client.Disconnect();
  ASSERT_TRUE(PumpUntil({&server, &second}, [&] { return second.IsAuthenticated(); }));
  EXPECT_EQ(serverLog.names, (std::vector<std::string>{"Bren", "Cato"}));
  EXPECT_EQ(secondLog.names, std::vector<std::string>{"Ayla"});
  EXPECT_EQ(serverLog.drops, 1);
}

TEST_F(NetConnectionTest, PeerThatClosesIsReportedDroppedOnce) {
  for (bool serverCloses : {false, true}) {
    NetConnection host(kPassword, "Host");
    PeerRecorder hostLog(host);
    ASSERT_TRUE(host.Listen(false, 0));
    NetConnection guest(kPassword, "Guest");
    PeerRecorder guestLog(guest);
    ASSERT_TRUE(guest.Connect("127.0.0.1", false, host.ListeningPort()));
    ASSERT_TRUE(
        PumpUntil({&host, &guest}, [&] { return host.IsAuthenticated() && guest.IsAuthenticated(); }));

    NetConnection& closer = serverCloses ? host : guest;
    NetConnection& survivor = serverCloses ? guest : host;
    PeerRecorder& closerLog = serverCloses ? hostLog : guestLog;
    PeerRecorder& survivorLog = serverCloses ? guestLog : hostLog;
    closer.Disconnect();
    int pumpsClosed = 0;
    PumpUntil({&closer}, [&] {
      if (!survivor.Pump()) ++pumpsClosed;
      return survivorLog.drops > 0;
    });
    PumpFor({&closer, &survivor}, 50);
    EXPECT_EQ(survivorLog.drops, 1) << (serverCloses ? "server closes" : "client closes");
    EXPECT_EQ(pumpsClosed, 1);
    EXPECT_EQ(closerLog.drops, 0) << "closing it ourselves is no drop";
    EXPECT_FALSE(survivor.IsConnected());
    EXPECT_FALSE(survivor.IsAuthenticated());
  }
}

TEST_F(NetConnectionTest, LengthHeaderOutsideTheLimitDropsTheConnectionAndTheServerGoesOn) {
  for (int32_t length : {NetConnection::kMaxPayload + 1, -1, INT_MIN, INT_MAX}) {
    const int dropsBefore = serverLog.drops;
    RawPeer raw;
    ASSERT_TRUE(raw.Connect(port));
    ASSERT_TRUE(raw.Authenticate("Raw", server)) << length;
    raw.Send(Frame(6, length, std::vector<uint8_t>(64, 0xEE)));
    EXPECT_TRUE(raw.SeesClose(server)) << length;
    EXPECT_EQ(serverLog.drops, dropsBefore + 1) << length;
    EXPECT_TRUE(serverLog.messages.empty()) << length;
    EXPECT_TRUE(LogContains("NetConnection: message 6 claims " + std::to_string(length) +
                            " payload bytes, outside 0 to 4096; dropping the connection"))
        << length;
  }
  ASSERT_TRUE(Authenticate(client, clientLog)) << "the server still serves the next client";
}

TEST_F(NetConnectionTest, PeerThatStopsReadingIsDroppedOnceTheQueuePassesOneMebibyte) {
  ASSERT_TRUE(Authenticate(client, clientLog));
  NetMessage block;
  FillMessage(block, 2, std::vector<uint8_t>(NetConnection::kMaxPayload, 0x5A));
  uint32_t largestQueue = 0;
  int sends = 0;
  // The client never pumps again: the kernel buffers fill, then our queue.
  while (server.Send(block) && sends < 100000) {
    ++sends;
    largestQueue = std::max(largestQueue, server.QueuedBytes());
  }
  EXPECT_EQ(serverLog.drops, 1);
  EXPECT_FALSE(server.IsConnected());
  EXPECT_GT(largestQueue, NetConnection::kMaxQueuedBytes - NetConnection::kMaxPayload - 8);
  EXPECT_LE(largestQueue, NetConnection::kMaxQueuedBytes);
  EXPECT_TRUE(LogContains("bytes wait for the peer to read them; dropping it as too slow"));
  EXPECT_TRUE(PumpUntil({&server, &client}, [&] { return clientLog.drops == 1; }));
}

TEST_F(NetConnectionTest, CallbacksMayReplyOrDisconnectFromInsideThePump) {
  ASSERT_TRUE(Authenticate(client, clientLog));
  serverLog.onMessage = [&](NetMessage& message) {
    if (message.type == 1) {
      NetMessage echo;
      FillMessage(echo, 101, std::vector<uint8_t>(message.stream.Data(), message.stream.Data() + 3));
      server.Send(echo);
    } else {
      server.Disconnect();
    }
  };
  NetMessage ask;
  FillMessage(ask, 1, {7, 8, 9});
  NetMessage leave;
  FillMessage(leave, 2, {});
  ASSERT_TRUE(client.Send(ask));
  ASSERT_TRUE(client.Send(leave));
  ASSERT_TRUE(client.Send(ask));  // never delivered: the server has closed by then
  bool serverPumpClosed = false;
  ASSERT_TRUE(PumpUntil({&client}, [&] {
    serverPumpClosed = serverPumpClosed || !server.Pump();
    return clientLog.drops == 1;
  }));
  EXPECT_TRUE(serverPumpClosed);
  ASSERT_EQ(clientLog.messages.size(), 1u);
  EXPECT_EQ(clientLog.messages[0].type, 101u);
  EXPECT_EQ(clientLog.messages[0].payload, (std::vector<uint8_t>{7, 8, 9}));
  EXPECT_EQ(serverLog.messages.size(), 2u);
  EXPECT_EQ(serverLog.drops, 0);
}

TEST_F(NetConnectionTest, NothingToSendToAndNothingToConnectTo) {
  NetMessage message;
  FillMessage(message, 1, {1});
  EXPECT_FALSE(client.Send(message)) << "no peer yet";
  EXPECT_TRUE(client.Pump()) << "pumping an idle connection is harmless";

  NetConnection busy(kPassword, "Busy");
  EXPECT_FALSE(busy.Listen(false, port)) << "the port is taken";
  server.StopListening();
  EXPECT_FALSE(server.IsListening());
  EXPECT_FALSE(client.Connect("127.0.0.1", false, port)) << "nobody listens";
  EXPECT_FALSE(client.IsConnected());
  EXPECT_FALSE(client.Connect("no-such-host.invalid", false, port));
}

TEST(NetConnectionNames, MissingNameIsAnonymousAndLongTextsAreCut) {
  // Passwords longer than 32 characters are cut to 32 on both sides, so the
  // two still match though they differ after that.
  const std::string serverPassword = std::string(32, '7') + "server";
  const std::string clientPassword = std::string(32, '7') + "client";
  NetConnection server(serverPassword.c_str(), nullptr);
  PeerRecorder serverLog(server);
  ASSERT_TRUE(server.Listen(false, 0));
  const std::string longName(100, 'L');
  NetConnection client(clientPassword.c_str(), longName.c_str());
  PeerRecorder clientLog(client);
  ASSERT_TRUE(client.Connect("127.0.0.1", false, server.ListeningPort()));
  ASSERT_TRUE(PumpUntil({&server, &client}, [&] { return !clientLog.names.empty(); }));
  EXPECT_EQ(clientLog.names, std::vector<std::string>{"anonymous"});
  EXPECT_EQ(serverLog.names, std::vector<std::string>{std::string(64, 'L')});
}

TEST_F(NetConnectionTest, AClientThatCannotConnectPlaysAloneAsAServerThatDoesNotListen) {
  server.StopListening();
  ASSERT_FALSE(client.Connect("127.0.0.1", false, port));
  EXPECT_FALSE(client.IsServer());
  client.PlayAlone();
  EXPECT_TRUE(client.IsServer());
  EXPECT_FALSE(client.IsListening());
  EXPECT_FALSE(client.IsConnected());
  EXPECT_TRUE(client.Pump()) << "a server without a listener has nothing to accept";
  NetMessage message;
  FillMessage(message, 8, {1, 0, 0, 0});
  EXPECT_FALSE(client.Send(message)) << "nobody to send to";
  EXPECT_EQ(clientLog.drops, 0);
}
