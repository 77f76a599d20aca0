// Text received from a peer, made fit for the log: a hostile or broken peer
// must not be able to make the game read past a payload or write control
// characters into the log.
#pragma once

#include <cstddef>
#include <cstdint>

// Copies the text in the first `count` bytes of `bytes` (up to the first zero,
// if there is one) into `out`, with every byte outside printable ASCII shown
// as '.', cut to fit `outSize` and always terminated.
void PrintableText(const uint8_t* bytes, uint32_t count, char* out, size_t outSize);
