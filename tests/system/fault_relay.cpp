// fault_relay: a go-between for the game's TCP link that treats it the way a
// bad network does. It accepts one client at a time on its own port, connects
// on to the server, and passes the bytes both ways, but
//   - cuts them into pieces of random sizes (1 to 700 bytes),
//   - holds each piece back for a random 0 to 120 ms (order is kept),
//   - now and then stalls one direction for 0.3 to 2 s,
//   - and after a random 3 to 8 s of link kills the connection on both sides,
// then waits for the next client. It prints one line per event and runs
// until it is stopped.
//
// Usage: fault_relay LISTEN_PORT SERVER_PORT SEED
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::milliseconds;

struct Piece {
  Clock::time_point due;
  std::vector<unsigned char> bytes;
};

// One direction of the link: pieces read and not yet written on.
struct Direction {
  const char* name;
  int from = -1;
  int to = -1;
  std::deque<Piece> pieces;
  size_t written = 0;  // bytes of the front piece already passed on
  Clock::time_point stalledUntil;
  unsigned long long bytesPassed = 0;
};

std::mt19937 g_random;

int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(g_random); }

int ListenOn(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  const int yes = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 4) != 0) {
    std::perror("fault_relay: listen");
    std::exit(1);
  }
  return fd;
}

int ConnectTo(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return -1;
  }
  const int yes = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
  return fd;
}

// Reads what has come (in pieces of random sizes) and queues it with a delay.
// False when the sender has closed.
bool ReadInto(Direction& direction) {
  for (;;) {
    std::vector<unsigned char> buffer(static_cast<size_t>(Between(1, 700)));
    const ssize_t got = recv(direction.from, buffer.data(), buffer.size(), MSG_DONTWAIT);
    if (got == 0) return false;
    if (got < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    buffer.resize(static_cast<size_t>(got));
    Clock::time_point due = Clock::now() + Milliseconds(Between(0, 120));
    if (!direction.pieces.empty() && due < direction.pieces.back().due) due = direction.pieces.back().due;
    direction.pieces.push_back(Piece{due, std::move(buffer)});
  }
}

// Writes the pieces that are due. False when the receiver has gone.
bool WriteDue(Direction& direction) {
  const Clock::time_point now = Clock::now();
  if (now < direction.stalledUntil) return true;
  while (!direction.pieces.empty() && direction.pieces.front().due <= now) {
    Piece& piece = direction.pieces.front();
    const ssize_t sent = send(direction.to, piece.bytes.data() + direction.written,
                              piece.bytes.size() - direction.written, MSG_DONTWAIT | MSG_NOSIGNAL);
    if (sent < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    direction.written += static_cast<size_t>(sent);
    direction.bytesPassed += static_cast<unsigned long long>(sent);
    if (direction.written < piece.bytes.size()) return true;
    direction.pieces.pop_front();
    direction.written = 0;
  }
  return true;
}

void MaybeStall(Direction& direction) {
  // About one stall every two seconds in each direction at the 5 ms step.
  if (Between(0, 399) != 0) return;
  const int length = Between(300, 2000);
  direction.stalledUntil = Clock::now() + Milliseconds(length);
  std::printf("fault_relay: stalling %s for %d ms\n", direction.name, length);
}

void Relay(int client, int server, int link) {
  Direction up{"client to server", client, server, {}, 0, {}, 0};
  Direction down{"server to client", server, client, {}, 0, {}, 0};
  const Clock::time_point cutAt = Clock::now() + Milliseconds(Between(3000, 8000));
  const char* ending = "cut";
  while (Clock::now() < cutAt) {
    pollfd waits[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
    poll(waits, 2, 5);
    if (!ReadInto(up)) {
      ending = "client closed";
      break;
    }
    if (!ReadInto(down)) {
      ending = "server closed";
      break;
    }
    MaybeStall(up);
    MaybeStall(down);
    if (!WriteDue(up) || !WriteDue(down)) {
      ending = "write failed";
      break;
    }
  }
  std::printf("fault_relay: link %d ends (%s) after %llu bytes up, %llu down\n", link, ending, up.bytesPassed,
              down.bytesPassed);
  std::fflush(stdout);
  // An abortive close, as when a cable is pulled and the stack gives up.
  const linger abort = {1, 0};
  setsockopt(client, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
  setsockopt(server, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
  close(client);
  close(server);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: fault_relay LISTEN_PORT SERVER_PORT SEED\n");
    return 2;
  }
  const int serverPort = std::atoi(argv[2]);
  g_random.seed(static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10)));
  const int listener = ListenOn(std::atoi(argv[1]));
  std::printf("fault_relay: listening\n");
  std::fflush(stdout);
  for (int link = 1;; ++link) {
    const int client = accept(listener, nullptr, nullptr);
    if (client < 0) continue;
    const int server = ConnectTo(serverPort);
    if (server < 0) {
      std::printf("fault_relay: link %d: the server does not answer\n", link);
      std::fflush(stdout);
      close(client);
      continue;
    }
    const int yes = 1;
    setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    std::printf("fault_relay: link %d up\n", link);
    std::fflush(stdout);
    Relay(client, server, link);
  }
}
