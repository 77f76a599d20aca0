// The game's command-line options. The set-up dialog stays the default; the
// options exist for scripted and headless play. New options are one entry in
// the table of options.cpp (which also writes --help) and a field here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

struct NetSetupChoice;

struct GameOptions {
  bool help = false;
  bool headless = false;              // no window, no sound device, console boxes
  bool server = false;                // --server
  const char* connectTo = nullptr;    // --connect ADDRESS; null when not given
  const char* playerName = nullptr;   // --name NAME; null when not given
  uint16_t port = 3203;               // --port N: the game's TCP port
  long frames = 0;                    // --frames N; 0 runs until the window closes
  const char* inputScript = nullptr;  // --input FILE: keys from a script instead of the keyboard
  bool hasSeed = false;               // --seed N given
  unsigned seed = 0;                  // seeds rand in place of the tick count
  const char* worldDump = nullptr;    // --dump-world FILE: the entity list, written at exit

  // Any set-up option skips the dialog; the others keep the dialog's defaults.
  bool HasSetupChoice() const { return server || connectTo != nullptr || playerName != nullptr; }
};

enum class OptionsResult { Run, Help, Error };

// Reads argv[1..argc-1]. On Error, error holds one line saying what is wrong.
// The options point into argv.
OptionsResult ParseGameOptions(int argc, char** argv, GameOptions* options, char* error, size_t errorSize);

void PrintGameUsage(FILE* out);

// The set-up choice the options stand for, cut to fit as the dialog cuts it.
void FillNetSetupChoice(const GameOptions& options, NetSetupChoice* choice);
