#include "options.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "game/netsetup.h"

namespace {

struct OptionSpec {
  const char* name;
  const char* valueName;  // null for a flag
  const char* help;
  // Stores the option; false (with error filled) when its value is unusable.
  bool (*apply)(GameOptions* options, const char* value, char* error, size_t errorSize);
};

bool ApplyHelp(GameOptions* options, const char*, char*, size_t) { return options->help = true; }

bool ApplyHeadless(GameOptions* options, const char*, char*, size_t) { return options->headless = true; }

bool ApplyServer(GameOptions* options, const char*, char*, size_t) { return options->server = true; }

bool ApplyConnect(GameOptions* options, const char* value, char* error, size_t errorSize) {
  if (value[0] == '\0') {
    std::snprintf(error, errorSize, "--connect needs a server address");
    return false;
  }
  options->connectTo = value;
  return true;
}

bool ApplyName(GameOptions* options, const char* value, char*, size_t) {
  options->playerName = value;
  return true;
}

// A decimal number from low to high and nothing else.
bool ParseWholeNumber(const char* value, long low, long high, long* number) {
  char* end = nullptr;
  errno = 0;
  const long parsed = std::strtol(value, &end, 10);
  if (errno != 0 || end == value || *end != '\0' || parsed < low || parsed > high) return false;
  *number = parsed;
  return true;
}

bool ApplyFrames(GameOptions* options, const char* value, char* error, size_t errorSize) {
  if (!ParseWholeNumber(value, 1, INT_MAX, &options->frames)) {
    std::snprintf(error, errorSize, "--frames needs a whole number from 1 to %d, not \"%s\"", INT_MAX, value);
    return false;
  }
  return true;
}

bool ApplyPort(GameOptions* options, const char* value, char* error, size_t errorSize) {
  long port = 0;
  if (!ParseWholeNumber(value, 1, 65535, &port)) {
    std::snprintf(error, errorSize, "--port needs a whole number from 1 to 65535, not \"%s\"", value);
    return false;
  }
  options->port = static_cast<uint16_t>(port);
  return true;
}

bool ApplyInput(GameOptions* options, const char* value, char* error, size_t errorSize) {
  if (value[0] == '\0') {
    std::snprintf(error, errorSize, "--input needs a script file");
    return false;
  }
  options->inputScript = value;
  return true;
}

bool ApplySeed(GameOptions* options, const char* value, char* error, size_t errorSize) {
  char* end = nullptr;
  errno = 0;
  const unsigned long long seed = std::strtoull(value, &end, 10);
  if (errno != 0 || end == value || *end != '\0' || value[0] == '-' || seed > UINT_MAX) {
    std::snprintf(error, errorSize, "--seed needs a whole number from 0 to %u, not \"%s\"", UINT_MAX, value);
    return false;
  }
  options->hasSeed = true;
  options->seed = static_cast<unsigned>(seed);
  return true;
}

bool ApplyDumpWorld(GameOptions* options, const char* value, char* error, size_t errorSize) {
  if (value[0] == '\0') {
    std::snprintf(error, errorSize, "--dump-world needs a file name");
    return false;
  }
  options->worldDump = value;
  return true;
}

const OptionSpec kOptions[] = {
    {"--server", nullptr, "act as the server (skips the set-up dialog)", ApplyServer},
    {"--connect", "ADDRESS", "connect to the server at ADDRESS (skips the set-up dialog)", ApplyConnect},
    {"--name", "NAME", "the player's name (skips the set-up dialog)", ApplyName},
    {"--port", "N", "the TCP port the server listens on, or the client connects to (3203 when not given)",
     ApplyPort},
    {"--headless", nullptr, "no window and no sound device; messages go to the console", ApplyHeadless},
    {"--frames", "N", "end the game after N frames, as closing its window would", ApplyFrames},
    {"--input", "FILE",
     "play the keys of a script instead of the keyboard: lines \"TIME press KEY\", \"TIME release KEY\" or "
     "\"TIME quit\", TIME in milliseconds of game time, KEY an SDL key code or up, down, left, right, space, "
     "lctrl, tab, a letter",
     ApplyInput},
    {"--seed", "N",
     "seed the random numbers with N instead of the clock, for a repeatable game; headless, every frame also "
     "lasts exactly a 60th of a second of game time",
     ApplySeed},
    {"--dump-world", "FILE",
     "at exit write one line per world entity: uid, typeId, name, position, health, state, remote",
     ApplyDumpWorld},
    {"--help", nullptr, "show this help and exit", ApplyHelp},
};

const OptionSpec* FindOption(const char* name) {
  for (const OptionSpec& spec : kOptions)
    if (std::strcmp(spec.name, name) == 0) return &spec;
  return nullptr;
}

// Prints text in lines of at most kHelpWidth characters after the option
// column, breaking at spaces; later lines are indented to the column.
void PrintWrapped(FILE* out, const char* text) {
  constexpr int kHelpColumn = 21;
  constexpr int kHelpWidth = 79 - kHelpColumn;
  while (std::strlen(text) > static_cast<size_t>(kHelpWidth)) {
    int cut = kHelpWidth;
    while (cut > 0 && text[cut] != ' ') --cut;
    if (cut == 0) break;  // one word longer than the line: print it whole
    std::fprintf(out, "%.*s\n%*s", cut, text, kHelpColumn, "");
    text += cut + 1;
  }
  std::fprintf(out, "%s\n", text);
}

}  // namespace

OptionsResult ParseGameOptions(int argc, char** argv, GameOptions* options, char* error, size_t errorSize) {
  *options = GameOptions();
  for (int i = 1; i < argc; ++i) {
    const OptionSpec* spec = FindOption(argv[i]);
    if (spec == nullptr) {
      std::snprintf(error, errorSize, "unknown option \"%s\"", argv[i]);
      return OptionsResult::Error;
    }
    const char* value = nullptr;
    if (spec->valueName != nullptr) {
      if (i + 1 >= argc) {
        std::snprintf(error, errorSize, "%s needs %s", spec->name, spec->valueName);
        return OptionsResult::Error;
      }
      value = argv[++i];
    }
    if (!spec->apply(options, value, error, errorSize)) return OptionsResult::Error;
  }
  if (options->help) return OptionsResult::Help;
  if (options->server && options->connectTo != nullptr) {
    std::snprintf(error, errorSize, "--server and --connect exclude each other");
    return OptionsResult::Error;
  }
  return OptionsResult::Run;
}

void PrintGameUsage(FILE* out) {
  std::fprintf(out,
               "Usage: game [options]\n"
               "Without set-up options the game asks for them in the network set-up dialog.\n"
               "Without a display (or with --headless) it needs them on the command line.\n\n");
  for (const OptionSpec& spec : kOptions) {
    char left[32];
    std::snprintf(left, sizeof left, "%s%s%s", spec.name, spec.valueName ? " " : "",
                  spec.valueName ? spec.valueName : "");
    std::fprintf(out, "  %-18s ", left);
    PrintWrapped(out, spec.help);
  }
}

void FillNetSetupChoice(const GameOptions& options, NetSetupChoice* choice) {
  std::memset(choice, 0, sizeof *choice);
  choice->isServer = options.server;
  std::snprintf(choice->serverAddress, sizeof choice->serverAddress, "%s",
                options.connectTo != nullptr ? options.connectTo : kDefaultServerAddress);
  std::snprintf(choice->playerName, sizeof choice->playerName, "%s",
                options.playerName != nullptr ? options.playerName : "");
}
