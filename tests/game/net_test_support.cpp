#include "net_test_support.h"

#include <chrono>
#include <cstring>
#include <thread>

#include "orvix/logging.h"

PeerRecorder::PeerRecorder(NetConnection& connection) {
  connection.SetCallbacks(
      NetCallbacks::Bind<PeerRecorder, &PeerRecorder::netAuthenticated, &PeerRecorder::netRecvData,
                         &PeerRecorder::netConnectionDropped>(this));
}

void PeerRecorder::netAuthenticated(const char* peerName) { names.emplace_back(peerName); }

void PeerRecorder::netRecvData(NetMessage* message) {
  const uint8_t* data = message->stream.Data();
  messages.push_back(
      {message->type, std::vector<uint8_t>(data, data + message->stream.Size()), message->stream.Capacity()});
  if (onMessage) onMessage(*message);
}

void PeerRecorder::netConnectionDropped() { ++drops; }

bool PumpUntil(std::initializer_list<NetConnection*> connections, const std::function<bool()>& done,
               int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    for (NetConnection* connection : connections) connection->Pump();
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return true;
}

void PumpFor(std::initializer_list<NetConnection*> connections, int milliseconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (std::chrono::steady_clock::now() < deadline) {
    for (NetConnection* connection : connections) connection->Pump();
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
}

NetAddress LoopbackAddress(uint16_t port) {
  NetAddress address;
  address.address[0] = 127;
  address.address[3] = 1;
  address.port = port;
  return address;
}

void FillMessage(NetMessage& message, uint32_t type, const std::vector<uint8_t>& payload) {
  message.type = type;
  message.stream.Resize(static_cast<uint32_t>(payload.size()));
  message.stream.Write(payload.data(), static_cast<uint32_t>(payload.size()));
}

void StartTestLog() { Orvix::CSingleton<Orvix::COrvixLogger>::Instance().Initialize("/dev/null", 1 << 20); }

bool LogContains(const std::string& text) {
  const char* log = Orvix::CSingleton<Orvix::COrvixLogger>::Instance().GetBuffer();
  return log != nullptr && std::strstr(log, text.c_str()) != nullptr;
}

bool ConnectOnLoopback(NetConnection& server, NetConnection& client) {
  return server.Listen(false, 0) && client.Connect("127.0.0.1", false, server.ListeningPort()) &&
         PumpUntil({&server, &client}, [&] { return server.IsAuthenticated() && client.IsAuthenticated(); });
}

bool ReadHitReport(const ReceivedMessage& message, HitReportFields* fields) {
  static_assert(sizeof(HitReportFields) == 28);
  if (message.type != 6 || message.payload.size() != sizeof(HitReportFields)) return false;
  std::memcpy(fields, message.payload.data(), sizeof(HitReportFields));
  return true;
}
