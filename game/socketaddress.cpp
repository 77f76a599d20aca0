// Dotted-quad address texts.
#include <cstdio>
#include <cstring>

#include "game/socket.h"

bool IsDottedQuad(const char* text) {
  if (text == nullptr) return false;
  const size_t length = std::strlen(text);
  if (length > 15) return false;
  int dots = 0;
  for (size_t i = 0; i < length; ++i) {
    if (text[i] == '.') {
      ++dots;
    } else if (text[i] < '0' || text[i] > '9') {
      return false;
    }
  }
  return dots == 3;
}

bool ParseDottedQuad(const char* text, NetAddress& out) {
  if (!IsDottedQuad(text)) return false;
  uint8_t bytes[4] = {};
  const char* cursor = text;
  for (int part = 0; part < 4; ++part) {
    unsigned value = 0;
    int digits = 0;
    for (; *cursor >= '0' && *cursor <= '9'; ++cursor, ++digits) {
      value = value * 10 + static_cast<unsigned>(*cursor - '0');
      if (value > 255) return false;  // no silent wrap into another address
    }
    if (digits == 0) return false;
    bytes[part] = static_cast<uint8_t>(value);
    if (*cursor == '.') ++cursor;
  }
  std::memcpy(out.address, bytes, sizeof bytes);
  return true;
}

void FormatAddress(const NetAddress& address, char* text, size_t size) {
  if (text == nullptr || size == 0) return;
  std::snprintf(text, size, "%u.%u.%u.%u", address.address[0], address.address[1], address.address[2],
                address.address[3]);
}
