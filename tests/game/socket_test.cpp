#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "game/socketposix.h"
#include "net_test_support.h"

namespace {

// A listener on an ephemeral loopback port, closed with the fixture.
class SocketTest : public testing::Test {
 protected:
  void TearDown() override {
    for (ITCPClientSocket* socket : m_clients) sys.CloseTCPClient(socket);
    for (ITCPServerSocket* socket : m_servers) sys.CloseTCPServer(socket);
    sys.Shutdown();
  }

  ITCPServerSocket* Listen(bool blocking = false, uint16_t port = 0, bool reuse = false) {
    const NetAddress local = LoopbackAddress(0);
    ITCPServerSocket* server = sys.CreateTCPServer(port, 16, true, blocking, reuse, &local);
    if (server != nullptr) m_servers.push_back(server);
    return server;
  }

  static uint16_t PortOf(ITCPServerSocket* server) {
    NetAddress local;
    return server->GetLocalAddress(local) ? local.port : 0;
  }

  ITCPClientSocket* Keep(ITCPClientSocket* socket) {
    if (socket != nullptr) m_clients.push_back(socket);
    return socket;
  }

  void Close(ITCPClientSocket* socket) {
    std::erase(m_clients, socket);
    sys.CloseTCPClient(socket);
  }

  // Accepts the connection the kernel has already completed.
  ITCPClientSocket* AcceptSoon(ITCPServerSocket* server) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
      if (ITCPClientSocket* accepted = server->Accept()) return Keep(accepted);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return nullptr;
  }

  // Receives until the result is not 0 (nothing there yet) or a second passes.
  static int ReceiveSoon(ITCPClientSocket* socket, void* buffer, int length) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
      const int result = socket->Receive(buffer, length);
      if (result != 0) return result;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return 0;
  }

  SocketSysPosix sys;

 private:
  std::vector<ITCPClientSocket*> m_clients;
  std::vector<ITCPServerSocket*> m_servers;
};

}  // namespace

TEST(AddressText, DottedQuadIsThreeDotsOfDigitsWithinFifteenCharacters) {
  const struct {
    const char* text;
    bool dotted;
  } cases[] = {
      {"127.0.0.1", true},  {"255.255.255.255", true}, {"127.0.1", false}, {"1.2.3.4.5", false},
      {"localhost", false}, {"1.2.3.a", false},        {"", false},        {"0255.255.255.255", false},
      {"1..2.3", true},  // the shape is right; parsing refuses it
  };
  for (const auto& c : cases) EXPECT_EQ(IsDottedQuad(c.text), c.dotted) << c.text;
}

TEST(AddressText, ParsingTakesTheFourNumbersAsBytesAndRefusesWhatIsNoAddress) {
  const struct {
    const char* text;
    bool parses;
    uint8_t bytes[4];
  } cases[] = {
      {"127.0.0.1", true, {127, 0, 0, 1}},
      {"10.20.30.40", true, {10, 20, 30, 40}},
      {"255.255.255.255", true, {255, 255, 255, 255}},
      {"256.0.0.1", false, {}},  // would wrap to 0.0.0.1
      {"1..2.3", false, {}},
      {"1.2.3.", false, {}},
      {"1.2.3", false, {}},
  };
  for (const auto& c : cases) {
    NetAddress address;
    address.port = 77;
    ASSERT_EQ(ParseDottedQuad(c.text, address), c.parses) << c.text;
    if (c.parses) {
      EXPECT_EQ(std::memcmp(address.address, c.bytes, 4), 0) << c.text;
      EXPECT_EQ(address.port, 77) << "parsing sets the address bytes only";
    }
  }
}

TEST(AddressText, FormatPrintsTheFourBytes) {
  NetAddress address;
  ASSERT_TRUE(ParseDottedQuad("192.168.0.254", address));
  char text[16];
  FormatAddress(address, text, sizeof text);
  EXPECT_STREQ(text, "192.168.0.254");
  char tiny[4];
  FormatAddress(address, tiny, sizeof tiny);
  EXPECT_STREQ(tiny, "192");
}

TEST_F(SocketTest, ResolvesDottedTextAndLocalhostButNotATwoDotNumber) {
  NetAddress address;
  address.port = 9;
  ASSERT_TRUE(sys.ResolveHost("127.0.0.1", address));
  EXPECT_EQ(std::memcmp(address.address, LoopbackAddress(0).address, 4), 0);
  EXPECT_EQ(address.port, 0);
  ASSERT_TRUE(sys.ResolveHost("localhost", address));
  EXPECT_EQ(address.address[0], 127);
  EXPECT_FALSE(sys.ResolveHost("127.0.1", address));
  EXPECT_FALSE(sys.ResolveHost("", address));
  EXPECT_FALSE(sys.ResolveHost("no-such-host.invalid", address));
}

TEST_F(SocketTest, LookupNameFindsTheLoopbackName) {
  char name[64] = {};
  ASSERT_TRUE(sys.LookupName(LoopbackAddress(0).address, name, sizeof name));
  EXPECT_GT(std::strlen(name), 0u);
  char cut[4] = {'x', 'x', 'x', 'x'};
  ASSERT_TRUE(sys.LookupName(LoopbackAddress(0).address, cut, sizeof cut));
  EXPECT_EQ(std::strlen(cut), std::min<size_t>(3, std::strlen(name)));
}

TEST_F(SocketTest, DottedAddressConnectsAndATwoDotTextDoesNot) {
  ITCPServerSocket* server = Listen();
  ASSERT_NE(server, nullptr);
  const uint16_t port = PortOf(server);
  ITCPClientSocket* client = Keep(sys.ConnectTCPByName("127.0.0.1", port, true, false, nullptr));
  ASSERT_NE(client, nullptr);
  EXPECT_NE(AcceptSoon(server), nullptr);
  EXPECT_EQ(sys.ConnectTCPByName("127.0.1", port, true, false, nullptr), nullptr);
}

TEST_F(SocketTest, NonBlockingListenerWithNothingPendingAcceptsNothing) {
  ITCPServerSocket* server = Listen(false);
  ASSERT_NE(server, nullptr);
  EXPECT_EQ(server->Accept(), nullptr);
}

TEST_F(SocketTest, AcceptedConnectionKeepsTheListenersModeAndNoDelay) {
  ITCPServerSocket* server = Listen(false);
  ASSERT_NE(server, nullptr);
  ITCPClientSocket* client = Keep(sys.ConnectTCP(LoopbackAddress(PortOf(server)), false, false, nullptr));
  ASSERT_NE(client, nullptr);
  ITCPClientSocket* accepted = AcceptSoon(server);
  ASSERT_NE(accepted, nullptr);
  char byte;
  EXPECT_EQ(accepted->Receive(&byte, 1), 0) << "a non-blocking listener's connection must not wait";
  EXPECT_TRUE(accepted->GetNoDelay());
  EXPECT_FALSE(client->GetNoDelay());
  EXPECT_TRUE(client->SetNoDelay(true));
  EXPECT_TRUE(client->GetNoDelay());
  EXPECT_TRUE(accepted->SetNoDelay(false));
  EXPECT_FALSE(accepted->GetNoDelay());
  EXPECT_EQ(static_cast<TCPClientSocketPosix*>(accepted)->Remote().address[0], 127);
}

TEST_F(SocketTest, BytesTravelBothWaysAndZeroByteCallsReturnZero) {
  ITCPServerSocket* server = Listen(false);
  ASSERT_NE(server, nullptr);
  ITCPClientSocket* client = Keep(sys.ConnectTCP(LoopbackAddress(PortOf(server)), true, false, nullptr));
  ASSERT_NE(client, nullptr);
  ITCPClientSocket* accepted = AcceptSoon(server);
  ASSERT_NE(accepted, nullptr);

  EXPECT_EQ(client->Send("", 0), 0);
  EXPECT_EQ(accepted->Receive(nullptr, 0), 0);
  ASSERT_EQ(client->Send("ping", 4), 4);
  char buffer[8] = {};
  ASSERT_EQ(ReceiveSoon(accepted, buffer, sizeof buffer), 4);
  EXPECT_EQ(std::string(buffer, 4), "ping");
  ASSERT_EQ(accepted->Send("pong!", 5), 5);
  ASSERT_EQ(ReceiveSoon(client, buffer, sizeof buffer), 5);
  EXPECT_EQ(std::string(buffer, 5), "pong!");
  EXPECT_EQ(client->Receive(buffer, sizeof buffer), 0) << "nothing more: would block";
}

TEST_F(SocketTest, ReceiveFromAClosedPeerIsMinusOne) {
  ITCPServerSocket* server = Listen(false);
  ASSERT_NE(server, nullptr);
  ITCPClientSocket* client = sys.ConnectTCP(LoopbackAddress(PortOf(server)), true, false, nullptr);
  ASSERT_NE(client, nullptr);
  ITCPClientSocket* accepted = AcceptSoon(server);
  ASSERT_NE(accepted, nullptr);
  sys.CloseTCPClient(client);
  char buffer[4];
  EXPECT_EQ(ReceiveSoon(accepted, buffer, sizeof buffer), -1);
}

TEST_F(SocketTest, SendingToAClosedPeerFailsWithoutRaisingSigpipe) {
  // SIGPIPE keeps its default action here: were it raised, the test program would end.
  ITCPServerSocket* server = Listen(false);
  ASSERT_NE(server, nullptr);
  ITCPClientSocket* client = sys.ConnectTCP(LoopbackAddress(PortOf(server)), true, false, nullptr);
  ASSERT_NE(client, nullptr);
  ITCPClientSocket* accepted = AcceptSoon(server);
  ASSERT_NE(accepted, nullptr);
  sys.CloseTCPClient(client);
  const std::vector<char> block(4096, 'x');
  int result = 0;
  for (int attempt = 0; attempt < 1000 && result >= 0; ++attempt) {
    result = accepted->Send(block.data(), static_cast<int>(block.size()));
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(result, -1);
}

TEST_F(SocketTest, RefusedConnectReturnsNone) {
  // A port that was just free: listened on, then closed.
  ITCPServerSocket* server = sys.CreateTCPServer(0, 4, true, false, false, nullptr);
  ASSERT_NE(server, nullptr);
  const uint16_t port = PortOf(server);
  sys.CloseTCPServer(server);
  EXPECT_EQ(sys.ConnectTCP(LoopbackAddress(port), true, false, nullptr), nullptr);
}

TEST_F(SocketTest, ConnectThatGetsNoAnswerGivesUpAfterTheTimeout) {
  // A blocking listener that never accepts, with its queue full: the kernel
  // drops further connection requests, so the next connect hears nothing.
  ITCPServerSocket* server = sys.CreateTCPServer(0, 0, false, true, false, nullptr);
  ASSERT_NE(server, nullptr);
  const uint16_t port = PortOf(server);
  sys.SetConnectTimeout(300);
  bool timedOut = false;
  std::vector<ITCPClientSocket*> queued;
  const auto started = std::chrono::steady_clock::now();
  for (int attempt = 0; attempt < 8 && !timedOut; ++attempt) {
    ITCPClientSocket* client = sys.ConnectTCP(LoopbackAddress(port), false, false, nullptr);
    if (client == nullptr) {
      timedOut = true;
    } else {
      queued.push_back(client);
    }
  }
  const auto waited = std::chrono::steady_clock::now() - started;
  EXPECT_TRUE(timedOut) << "every connect was answered";
  EXPECT_GE(waited, std::chrono::milliseconds(250));
  EXPECT_LT(waited, std::chrono::seconds(5));
  for (ITCPClientSocket* client : queued) sys.CloseTCPClient(client);
  sys.CloseTCPServer(server);
}

TEST_F(SocketTest, TwoListenersShareAPortOnlyWhenBothAskForReuse) {
  ITCPServerSocket* first = Listen(false);
  ASSERT_NE(first, nullptr);
  const uint16_t port = PortOf(first);
  EXPECT_EQ(Listen(false, port), nullptr);

  ITCPServerSocket* shared = Listen(false, 0, true);
  ASSERT_NE(shared, nullptr);
  EXPECT_NE(Listen(false, PortOf(shared), true), nullptr);
}

TEST_F(SocketTest, PortCanBeListenedOnAgainRightAfterAConnectionOnItClosed) {
  ITCPServerSocket* server = sys.CreateTCPServer(0, 4, true, false, false, nullptr);
  ASSERT_NE(server, nullptr);
  const uint16_t port = PortOf(server);
  ITCPClientSocket* client = sys.ConnectTCP(LoopbackAddress(port), true, false, nullptr);
  ASSERT_NE(client, nullptr);
  ITCPClientSocket* accepted = nullptr;
  for (int attempt = 0; attempt < 1000 && accepted == nullptr; ++attempt) {
    accepted = server->Accept();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_NE(accepted, nullptr);
  // The server side closes first, which leaves its end waiting out TIME_WAIT.
  sys.CloseTCPClient(accepted);
  sys.CloseTCPClient(client);
  sys.CloseTCPServer(server);
  ITCPServerSocket* again = sys.CreateTCPServer(port, 4, true, false, false, nullptr);
  EXPECT_NE(again, nullptr);
  sys.CloseTCPServer(again);
}

TEST_F(SocketTest, UdpDatagramsTravelAndAnEmptySocketReportsNothing) {
  const NetAddress local = LoopbackAddress(0);
  IUDPSocket* receiver = sys.CreateUDP(0, false, false, &local);
  IUDPSocket* sender = sys.CreateUDP(0, false, false, &local);
  ASSERT_NE(receiver, nullptr);
  ASSERT_NE(sender, nullptr);
  NetAddress receiverAddress;
  NetAddress senderAddress;
  ASSERT_TRUE(receiver->GetLocalAddress(receiverAddress));
  ASSERT_TRUE(sender->GetLocalAddress(senderAddress));

  char buffer[16];
  NetAddress from;
  from.address[0] = 9;
  EXPECT_EQ(receiver->ReceiveFrom(from, buffer, sizeof buffer), 0);
  EXPECT_EQ(from.address[0], 0) << "would-block clears the sender's address";

  ASSERT_EQ(sender->SendTo(receiverAddress, "hello", 5), 5);
  int received = 0;
  for (int attempt = 0; attempt < 1000 && received == 0; ++attempt) {
    received = receiver->ReceiveFrom(from, buffer, sizeof buffer);
    if (received == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_EQ(received, 5);
  EXPECT_EQ(std::string(buffer, 5), "hello");
  EXPECT_EQ(from.port, senderAddress.port);
  EXPECT_EQ(from.address[0], 127);
  sys.CloseUDP(sender);
  sys.CloseUDP(receiver);
}

TEST_F(SocketTest, UdpLargestMessageSizeIsExactlyWhatCanBeSent) {
  const NetAddress local = LoopbackAddress(0);
  IUDPSocket* socket = sys.CreateUDP(0, false, false, &local);
  ASSERT_NE(socket, nullptr);
  NetAddress self;
  ASSERT_TRUE(socket->GetLocalAddress(self));
  const int largest = socket->GetMaxMessageSize();
  EXPECT_EQ(largest, 65507);
  const std::vector<char> payload(static_cast<size_t>(largest) + 1, 'u');
  EXPECT_EQ(socket->SendTo(self, payload.data(), largest), largest);
  EXPECT_EQ(socket->SendTo(self, payload.data(), largest + 1), -1);
  sys.CloseUDP(socket);
}
