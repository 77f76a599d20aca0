#include "game/netlogtext.h"

void PrintableText(const uint8_t* bytes, uint32_t count, char* out, size_t outSize) {
  if (out == nullptr || outSize == 0) return;
  size_t used = 0;
  for (uint32_t i = 0; i < count && bytes != nullptr && used + 1 < outSize; ++i) {
    const uint8_t byte = bytes[i];
    if (byte == 0) break;
    out[used++] = byte >= 0x20 && byte < 0x7F ? static_cast<char>(byte) : '.';
  }
  out[used] = '\0';
}
