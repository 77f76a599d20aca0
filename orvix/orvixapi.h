// Export marker of the engine library. Everything the game derives from or
// calls is exported whole; the memory tracker's operators are the exception
// (see memtrack.h) and stay private to the library.
#pragma once

#define ORVIX_API __attribute__((visibility("default")))
