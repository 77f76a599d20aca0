// What the connection costs on loopback: a server and a client NetConnection
// in one process, pumped in turn on one thread as the game pumps its one
// connection. For payloads of 24 and 512 bytes it measures
//   - throughput: messages per second from the client to the server, with the
//     client keeping its queue short as a well-behaved sender does;
//   - round trip: the client sends, the server's data callback echoes, the
//     client waits for the echo.
// The baseline moves the same framed bytes over two bare non-blocking sockets
// of the socket layer, one send per frame and the same polling, so the ratios
// show what framing, reassembly, queueing and dispatch add.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "game/netconnection.h"
#include "game/socketposix.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint32_t kSendAhead = 64 * 1024;
constexpr int kFrameHeader = 8;

double Seconds(Clock::duration duration) { return std::chrono::duration<double>(duration).count(); }

struct Figures {
  double messagesPerSecond = 0;
  double meanRoundTripUs = 0;
  double medianRoundTripUs = 0;
};

void SummariseRoundTrips(std::vector<double>& microseconds, Figures& out) {
  if (microseconds.empty()) return;
  double total = 0;
  for (double t : microseconds) total += t;
  out.meanRoundTripUs = total / static_cast<double>(microseconds.size());
  std::sort(microseconds.begin(), microseconds.end());
  out.medianRoundTripUs = microseconds[microseconds.size() / 2];
}

// Counts and echoes what the connections deliver.
struct Endpoint {
  NetConnection* connection = nullptr;
  bool echo = false;
  long received = 0;
  bool authenticated = false;

  void netAuthenticated(const char*) { authenticated = true; }
  void netRecvData(NetMessage* message) {
    ++received;
    if (echo) connection->Send(*message);
  }
  void netConnectionDropped() { std::fprintf(stderr, "net_bench: connection dropped\n"); }
};

NetCallbacks CallbacksOf(Endpoint& endpoint) {
  return NetCallbacks::Bind<Endpoint, &Endpoint::netAuthenticated, &Endpoint::netRecvData,
                            &Endpoint::netConnectionDropped>(&endpoint);
}

bool MeasureConnection(uint32_t payload, long messages, int roundTrips, Figures& out) {
  NetConnection server(NetConnection::kAccessPassword, "bench-server");
  NetConnection client(NetConnection::kAccessPassword, "bench-client");
  Endpoint serverSide{&server};
  Endpoint clientSide{&client};
  server.SetCallbacks(CallbacksOf(serverSide));
  client.SetCallbacks(CallbacksOf(clientSide));
  if (!server.Listen(false, 0) || !client.Connect("127.0.0.1", false, server.ListeningPort())) return false;
  while (!serverSide.authenticated || !clientSide.authenticated) {
    if (!server.Pump() || !client.Pump()) return false;
  }

  NetMessage message(1, payload);
  for (uint32_t i = 0; i < payload; ++i) message.stream.WriteValue(static_cast<uint8_t>(i));

  long sent = 0;
  const Clock::time_point start = Clock::now();
  while (serverSide.received < messages) {
    while (sent < messages && client.QueuedBytes() < kSendAhead) {
      if (!client.Send(message)) return false;
      ++sent;
    }
    if (!client.Pump() || !server.Pump()) return false;
  }
  out.messagesPerSecond = static_cast<double>(messages) / Seconds(Clock::now() - start);

  serverSide.echo = true;
  std::vector<double> times;
  times.reserve(static_cast<size_t>(roundTrips));
  for (int i = 0; i < roundTrips; ++i) {
    const long before = clientSide.received;
    const Clock::time_point sentAt = Clock::now();
    if (!client.Send(message)) return false;
    while (clientSide.received == before) {
      if (!server.Pump() || !client.Pump()) return false;
    }
    times.push_back(Seconds(Clock::now() - sentAt) * 1e6);
  }
  SummariseRoundTrips(times, out);
  return true;
}

// Bare sockets: the same frames written and read with the same polling, with
// the reader only counting whole frames.
struct RawLink {
  SocketSysPosix sys;
  ITCPServerSocket* listener = nullptr;
  ITCPClientSocket* a = nullptr;
  ITCPClientSocket* b = nullptr;

  bool Open() {
    listener = sys.CreateTCPServer(0, 4, true, false, false, nullptr);
    NetAddress local;
    if (listener == nullptr || !listener->GetLocalAddress(local)) return false;
    local.address[0] = 127;
    local.address[3] = 1;
    a = sys.ConnectTCP(local, true, false, nullptr);
    while (a != nullptr && b == nullptr) b = listener->Accept();
    return a != nullptr;
  }
  ~RawLink() {
    sys.CloseTCPClient(a);
    sys.CloseTCPClient(b);
    sys.CloseTCPServer(listener);
  }
};

// Reads what is there and returns the number of whole frames completed.
long ReadFrames(ITCPClientSocket* socket, std::vector<uint8_t>& buffer, long frameBytes, long& carried) {
  const int got = socket->Receive(buffer.data(), static_cast<int>(buffer.size()));
  if (got <= 0) return got < 0 ? -1 : 0;
  carried += got;
  const long frames = carried / frameBytes;
  carried %= frameBytes;
  return frames;
}

bool SendAll(ITCPClientSocket* socket, const uint8_t* bytes, int length) {
  while (length > 0) {
    const int sent = socket->Send(bytes, length);
    if (sent < 0) return false;
    bytes += sent;
    length -= sent;
  }
  return true;
}

bool MeasureRaw(uint32_t payload, long messages, int roundTrips, Figures& out) {
  RawLink link;
  if (!link.Open()) return false;
  const long frameBytes = kFrameHeader + static_cast<long>(payload);
  std::vector<uint8_t> frame(static_cast<size_t>(frameBytes), 7);
  std::vector<uint8_t> buffer(16 * 1024);

  // One send per frame, as the connection sends each message when it is
  // given, until the socket is full; a frame taken in part is finished later.
  long sent = 0;
  long received = 0;
  long carried = 0;
  long offset = 0;
  const Clock::time_point start = Clock::now();
  while (received < messages) {
    while (sent < messages) {
      const int taken = link.a->Send(frame.data() + offset, static_cast<int>(frameBytes - offset));
      if (taken < 0) return false;
      if (taken == 0) break;
      offset += taken;
      if (offset == frameBytes) {
        offset = 0;
        ++sent;
      }
    }
    long frames = 0;
    do {
      frames = ReadFrames(link.b, buffer, frameBytes, carried);
      if (frames < 0) return false;
      received += frames;
    } while (frames > 0);
  }
  out.messagesPerSecond = static_cast<double>(messages) / Seconds(Clock::now() - start);

  std::vector<double> times;
  for (int i = 0; i < roundTrips; ++i) {
    const Clock::time_point sentAt = Clock::now();
    if (!SendAll(link.a, frame.data(), static_cast<int>(frameBytes))) return false;
    carried = 0;
    long frames = 0;
    while ((frames = ReadFrames(link.b, buffer, frameBytes, carried)) == 0) {
    }
    if (frames < 0 || !SendAll(link.b, frame.data(), static_cast<int>(frameBytes))) return false;
    while ((frames = ReadFrames(link.a, buffer, frameBytes, carried)) == 0) {
    }
    if (frames < 0) return false;
    times.push_back(Seconds(Clock::now() - sentAt) * 1e6);
  }
  SummariseRoundTrips(times, out);
  return true;
}

}  // namespace

int main() {
  std::printf("%-8s %14s %14s %6s   %20s %20s %6s\n", "payload", "conn msg/s", "raw msg/s", "ratio",
              "conn RTT us mean/p50", "raw RTT us mean/p50", "ratio");
  for (uint32_t payload : {24u, 512u}) {
    const long messages = payload == 24 ? 400000 : 100000;
    const int roundTrips = 20000;
    Figures connection;
    Figures raw;
    if (!MeasureConnection(payload, messages, roundTrips, connection) ||
        !MeasureRaw(payload, messages, roundTrips, raw)) {
      std::fprintf(stderr, "net_bench: the loopback connection failed for %u-byte payloads\n", payload);
      return 1;
    }
    std::printf("%-8u %14.0f %14.0f %6.2f   %9.1f / %8.1f %9.1f / %8.1f %6.2f\n", payload,
                connection.messagesPerSecond, raw.messagesPerSecond,
                connection.messagesPerSecond / raw.messagesPerSecond, connection.meanRoundTripUs,
                connection.medianRoundTripUs, raw.meanRoundTripUs, raw.medianRoundTripUs,
                connection.meanRoundTripUs / raw.meanRoundTripUs);
  }
  std::printf(
      "throughput ratio: connection / raw (1.0 = no cost); RTT ratio: connection / raw (1.0 = no cost)\n");
  return 0;
}
