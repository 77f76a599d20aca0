// The connection through a relay that re-cuts the byte stream: whatever
// pieces TCP hands over, every message must arrive whole, in order and
// unchanged, in both directions at once.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <vector>

#include "byte_relay.h"
#include "game/netconnection.h"
#include "net_test_support.h"

namespace {

enum class Sizes { Uniform, MostlySmall };

// The same seed gives the sender and the receiver the same messages, so the
// receiver checks each one without any copy being kept.
class MessageSequence {
 public:
  MessageSequence(uint32_t seed, Sizes sizes) : m_random(seed), m_sizes(sizes) {}

  void Next(NetMessage& message) {
    // The two edge lengths come first, then random ones.
    uint32_t size = 0;
    if (m_count == 0) {
      size = 0;
    } else if (m_count == 1) {
      size = NetConnection::kMaxPayload;
    } else if (m_sizes == Sizes::MostlySmall && m_random() % 8 != 0) {
      size = m_random() % 33;
    } else {
      size = m_random() % (NetConnection::kMaxPayload + 1);
    }
    ++m_count;
    message.type = m_random();
    message.stream.Resize(size);
    for (uint32_t i = 0; i < size; ++i) {
      const uint8_t byte = static_cast<uint8_t>(m_random());
      message.stream.Write(&byte, 1);
    }
  }

 private:
  std::mt19937 m_random;
  Sizes m_sizes;
  int m_count = 0;
};

// Checks every message a connection delivers against the sequence.
struct SequenceChecker {
  SequenceChecker(uint32_t seed, Sizes sizes) : expected(seed, sizes) {}

  void Check(NetMessage& message) {
    expected.Next(wanted);
    const bool same = message.type == wanted.type && message.stream.Size() == wanted.stream.Size() &&
                      std::equal(message.stream.Data(), message.stream.Data() + message.stream.Size(),
                                 wanted.stream.Data());
    if (!same && firstMismatch < 0) firstMismatch = received;
    ++received;
  }

  MessageSequence expected;
  NetMessage wanted;
  int received = 0;
  int firstMismatch = -1;
};

struct RelayCase {
  const char* name;
  ByteRelay::Cut cut;
  Sizes sizes;
  int messages;
  bool stallClient;  // the client stops pumping until the server's queue has filled
};

class NetRelayTest : public testing::TestWithParam<RelayCase> {};

constexpr uint32_t kStalledQueue = 512 * 1024;
constexpr uint32_t kSendAhead = 768 * 1024;  // below the queue's limit, above kStalledQueue

}  // namespace

TEST_P(NetRelayTest, EveryMessageArrivesWholeInOrderAndUnchanged) {
  const RelayCase& c = GetParam();
  StartTestLog();
  NetConnection server(NetConnection::kAccessPassword, "Ayla");
  PeerRecorder serverLog(server);
  NetConnection client(NetConnection::kAccessPassword, "Bren");
  PeerRecorder clientLog(client);
  ASSERT_TRUE(server.Listen(false, 0));
  ByteRelay relay(server.ListeningPort(), c.cut, 17);
  ASSERT_TRUE(relay.Listen());
  ASSERT_TRUE(client.Connect("127.0.0.1", false, relay.Port()));

  SequenceChecker atServer(1001, c.sizes);  // what the client sends
  SequenceChecker atClient(2002, c.sizes);  // what the server sends
  // The checkers are fed from the recorders' hook; the recorders keep no copies.
  serverLog.onMessage = [&](NetMessage& m) { atServer.Check(m); };
  clientLog.onMessage = [&](NetMessage& m) { atClient.Check(m); };
  MessageSequence fromClient(1001, c.sizes);
  MessageSequence fromServer(2002, c.sizes);
  int sentByClient = 0;
  int sentByServer = 0;
  NetMessage outgoing;

  bool stalling = false;
  bool stallDone = !c.stallClient;
  uint32_t largestServerQueue = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (atServer.received < c.messages || atClient.received < c.messages) {
    ASSERT_LT(std::chrono::steady_clock::now(), deadline)
        << "server got " << atServer.received << ", client got " << atClient.received;
    ASSERT_TRUE(relay.Step());
    if (!stallDone && !stalling && atClient.received >= 500) stalling = true;

    if (server.IsAuthenticated()) {
      while (sentByServer < c.messages && server.QueuedBytes() < kSendAhead) {
        fromServer.Next(outgoing);
        ASSERT_TRUE(server.Send(outgoing));
        ++sentByServer;
      }
    }
    if (client.IsAuthenticated() && !stalling) {
      while (sentByClient < c.messages && client.QueuedBytes() < kSendAhead) {
        fromClient.Next(outgoing);
        ASSERT_TRUE(client.Send(outgoing));
        ++sentByClient;
      }
    }
    largestServerQueue = std::max(largestServerQueue, server.QueuedBytes());
    if (stalling && largestServerQueue >= kStalledQueue) {
      stalling = false;
      stallDone = true;
    }

    ASSERT_TRUE(server.Pump()) << "server dropped";
    if (!stalling) {
      ASSERT_TRUE(client.Pump()) << "client dropped";
    }
    ASSERT_TRUE(server.IsListening());
  }

  EXPECT_EQ(serverLog.names, std::vector<std::string>{"Bren"});
  EXPECT_EQ(clientLog.names, std::vector<std::string>{"Ayla"});
  EXPECT_EQ(atServer.firstMismatch, -1);
  EXPECT_EQ(atClient.firstMismatch, -1);
  EXPECT_EQ(atServer.received, c.messages);
  EXPECT_EQ(atClient.received, c.messages);
  EXPECT_EQ(serverLog.drops + clientLog.drops, 0);
  EXPECT_EQ(server.QueuedBytes(), 0u);
  EXPECT_EQ(client.QueuedBytes(), 0u);
  if (c.stallClient) {
    EXPECT_GE(largestServerQueue, kStalledQueue) << "the stall never filled the server's queue";
    EXPECT_LT(largestServerQueue, NetConnection::kMaxQueuedBytes);
  }
}

INSTANTIATE_TEST_SUITE_P(
    ByteStreamCuts, NetRelayTest,
    testing::Values(RelayCase{"OneBytePieces", ByteRelay::Cut::OneByte, Sizes::MostlySmall, 1000, false},
                    RelayCase{"RandomPieces", ByteRelay::Cut::RandomSizes, Sizes::Uniform, 10000, false},
                    RelayCase{"RandomPiecesStalledReceiver", ByteRelay::Cut::RandomSizes, Sizes::Uniform,
                              10000, true}),
    [](const testing::TestParamInfo<RelayCase>& info) { return info.param.name; });

// A link that fails in the middle of a stream: what arrived before the cut is
// whole and in order, both ends see the drop once, and the server goes on
// listening and takes the next client.
TEST(NetRelayCutTest, ACutLinkLosesNoMessageBeforeItAndTheServerTakesTheNextClient) {
  StartTestLog();
  NetConnection server(NetConnection::kAccessPassword, "Ayla");
  PeerRecorder serverLog(server);
  ASSERT_TRUE(server.Listen(false, 0));
  ByteRelay relay(server.ListeningPort(), ByteRelay::Cut::RandomSizes, 23);
  ASSERT_TRUE(relay.Listen());

  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    NetConnection client(NetConnection::kAccessPassword, "Bren");
    PeerRecorder clientLog(client);
    ASSERT_TRUE(client.Connect("127.0.0.1", false, relay.Port()));
    SequenceChecker atServer(1001 + round, Sizes::Uniform);
    serverLog.onMessage = [&](NetMessage& m) { atServer.Check(m); };
    MessageSequence fromClient(1001 + round, Sizes::Uniform);
    NetMessage outgoing;
    int sent = 0;
    const int cutAfter = 200 + 150 * round;  // messages the server has before the cut

    const int serverDropsBefore = serverLog.drops;
    bool cut = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (serverLog.drops == serverDropsBefore || clientLog.drops == 0) {
      ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "a side never saw the cut";
      if (!cut) {
        ASSERT_TRUE(relay.Step());
      }
      if (!cut && atServer.received >= cutAfter) {
        relay.CutLink();
        cut = true;
      }
      if (client.IsAuthenticated()) {
        while (!cut && client.QueuedBytes() < 64 * 1024) {
          fromClient.Next(outgoing);
          ASSERT_TRUE(client.Send(outgoing));
          ++sent;
        }
      }
      server.Pump();
      client.Pump();
      ASSERT_TRUE(server.IsListening());
    }
    EXPECT_EQ(atServer.firstMismatch, -1);
    EXPECT_GE(atServer.received, cutAfter);
    EXPECT_LE(atServer.received, sent);
    EXPECT_EQ(serverLog.drops, serverDropsBefore + 1);
    EXPECT_EQ(clientLog.drops, 1);
  }
  EXPECT_EQ(serverLog.names, (std::vector<std::string>{"Bren", "Bren", "Bren"}));
}
