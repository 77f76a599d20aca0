#include "inputscript.h"

#include <SDL/SDL_keysym.h>
#include <strings.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "logging.h"
#include "memtrack.h"
#include "orvix.h"

namespace Orvix {

static_assert(SDLK_LAST <= InputScript::kKeyCount, "the script's key table must cover SDL's");

namespace {

struct KeyName {
  const char* name;
  unsigned code;
};

const KeyName kKeyNames[] = {
    {"up", SDLK_UP},       {"down", SDLK_DOWN},   {"left", SDLK_LEFT},     {"right", SDLK_RIGHT},
    {"space", SDLK_SPACE}, {"tab", SDLK_TAB},     {"return", SDLK_RETURN}, {"escape", SDLK_ESCAPE},
    {"lctrl", SDLK_LCTRL}, {"rctrl", SDLK_RCTRL}, {"lshift", SDLK_LSHIFT}, {"rshift", SDLK_RSHIFT},
};

// A key name or an SDL key code; false when it is neither.
bool ParseKey(const char* word, unsigned* key) {
  for (const KeyName& entry : kKeyNames) {
    if (strcasecmp(word, entry.name) == 0) {
      *key = entry.code;
      return true;
    }
  }
  if (std::isalpha(static_cast<unsigned char>(word[0])) && word[1] == '\0') {
    // SDL's letter keys are their lower-case characters.
    *key = static_cast<unsigned>(std::tolower(static_cast<unsigned char>(word[0])));
    return true;
  }
  char* end = nullptr;
  errno = 0;
  const long code = std::strtol(word, &end, 10);
  if (errno != 0 || end == word || *end != '\0' || code < 0 ||
      code >= static_cast<long>(InputScript::kKeyCount))
    return false;
  *key = static_cast<unsigned>(code);
  return true;
}

// Splits a line into at most `maxWords` words (in place); returns the count, or
// maxWords + 1 when there are more.
int SplitWords(char* line, char** words, int maxWords) {
  int count = 0;
  char* cursor = line;
  while (*cursor != '\0') {
    while (*cursor == ' ' || *cursor == '\t') ++cursor;
    if (*cursor == '\0') break;
    if (count == maxWords) return maxWords + 1;
    words[count++] = cursor;
    while (*cursor != '\0' && *cursor != ' ' && *cursor != '\t') ++cursor;
    if (*cursor != '\0') *cursor++ = '\0';
  }
  return count;
}

// Reads a whole file into an owned, zero-terminated buffer; null on failure.
char* ReadWholeFile(const char* path) {
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return nullptr;
  char* text = nullptr;
  if (std::fseek(file, 0, SEEK_END) == 0) {
    const long size = std::ftell(file);
    if (size >= 0 && std::fseek(file, 0, SEEK_SET) == 0) {
      text = OX_NEW char[static_cast<size_t>(size) + 1];
      const size_t got = std::fread(text, 1, static_cast<size_t>(size), file);
      text[got] = '\0';
    }
  }
  std::fclose(file);
  return text;
}

}  // namespace

InputScript* InputScript::Load(const char* path, char* error, size_t errorSize) {
  char* text = ReadWholeFile(path);
  if (text == nullptr) {
    std::snprintf(error, errorSize, "cannot read the input script \"%s\"", path);
    CSingleton<COrvixLogger>::Instance().Log("InputScript::Load: %s", error);
    return nullptr;
  }
  InputScript* script = Parse(text, error, errorSize);
  OX_DELETE[] text;
  return script;
}

InputScript* InputScript::Parse(const char* text, char* error, size_t errorSize) {
  InputScript* script = OX_NEW InputScript;
  if (!script->ParseText(text, error, errorSize)) {
    CSingleton<COrvixLogger>::Instance().Log("InputScript::Parse: %s", error);
    OX_DELETE script;
    return nullptr;
  }
  return script;
}

InputScript::~InputScript() { OX_DELETE[] m_commands; }

bool InputScript::ParseLine(const char* text, Command* command, uint32_t previousTimeMs,
                            const char** reason) {
  char line[kMaxLineLength + 1];
  std::snprintf(line, sizeof line, "%s", text);
  char* comment = std::strchr(line, '#');
  if (comment != nullptr) *comment = '\0';
  char* words[3];
  const int count = SplitWords(line, words, 3);
  if (count < 2 || count > 3) {
    *reason = "expected TIME press KEY, TIME release KEY or TIME quit";
    return false;
  }
  char* end = nullptr;
  errno = 0;
  const unsigned long timeMs = std::strtoul(words[0], &end, 10);
  if (errno != 0 || end == words[0] || *end != '\0' || words[0][0] == '-' || timeMs > UINT32_MAX) {
    *reason = "the time is not a whole number of milliseconds";
    return false;
  }
  if (timeMs < previousTimeMs) {
    *reason = "the time is earlier than the line before";
    return false;
  }
  command->timeMs = static_cast<uint32_t>(timeMs);
  command->key = 0;
  if (std::strcmp(words[1], "quit") == 0 && count == 2) {
    command->action = Action::Quit;
    return true;
  }
  if (count != 3 || (std::strcmp(words[1], "press") != 0 && std::strcmp(words[1], "release") != 0)) {
    *reason = "expected TIME press KEY, TIME release KEY or TIME quit";
    return false;
  }
  unsigned key = 0;
  if (!ParseKey(words[2], &key)) {
    *reason = "unknown key (give a name, a single letter or an SDL key code from 0 to 511)";
    return false;
  }
  command->action = words[1][0] == 'p' ? Action::Press : Action::Release;
  command->key = static_cast<uint16_t>(key);
  return true;
}

// Two passes over the text: the first counts and checks the commands, the
// second stores them in one allocation.
bool InputScript::ParseText(const char* text, char* error, size_t errorSize) {
  for (int pass = 0; pass < 2; ++pass) {
    unsigned stored = 0;
    uint32_t previousTimeMs = 0;
    int lineNumber = 0;
    for (const char* cursor = text; *cursor != '\0';) {
      const char* lineEnd = std::strchr(cursor, '\n');
      const size_t length = lineEnd != nullptr ? static_cast<size_t>(lineEnd - cursor) : std::strlen(cursor);
      ++lineNumber;
      if (length > static_cast<size_t>(kMaxLineLength)) {
        std::snprintf(error, errorSize, "line %d: longer than %d characters", lineNumber, kMaxLineLength);
        return false;
      }
      char line[kMaxLineLength + 1];
      std::memcpy(line, cursor, length);
      line[length] = '\0';
      if (length > 0 && line[length - 1] == '\r') line[length - 1] = '\0';
      cursor += length + (lineEnd != nullptr ? 1 : 0);

      const char* firstWord = line + std::strspn(line, " \t");
      if (*firstWord == '\0' || *firstWord == '#') continue;
      Command command{};
      const char* reason = nullptr;
      if (!ParseLine(line, &command, previousTimeMs, &reason)) {
        std::snprintf(error, errorSize, "line %d: %s", lineNumber, reason);
        return false;
      }
      previousTimeMs = command.timeMs;
      if (pass == 1) m_commands[stored] = command;
      ++stored;
    }
    if (pass == 0) {
      m_commandCount = stored;
      if (stored > 0) m_commands = OX_NEW Command[stored];
    }
  }
  return true;
}

bool InputScript::Update() {
  Advance(g_orvix != nullptr ? g_orvix->GetTimeKey() : 0.0f);
  return true;
}

void InputScript::Advance(float seconds) {
  // The first frame's time covers the program's start-up, not play.
  if (m_started) m_clockMs += static_cast<double>(seconds) * 1000.0;
  m_started = true;
  m_keyState = m_keys;
  RunDueCommands();
}

void InputScript::RunDueCommands() {
  std::memset(m_pressedThisFrame, 0, sizeof m_pressedThisFrame);
  while (m_next < m_commandCount && m_commands[m_next].timeMs <= m_clockMs) {
    const Command& command = m_commands[m_next];
    if (command.action == Action::Release && m_pressedThisFrame[command.key] != 0) break;
    switch (command.action) {
      case Action::Press:
        m_keys[command.key] = 1;
        m_pressedThisFrame[command.key] = 1;
        break;
      case Action::Release:
        m_keys[command.key] = 0;
        break;
      case Action::Quit:
        if (g_orvix != nullptr) g_orvix->ForceShutdown();
        break;
    }
    ++m_next;
  }
}

bool InputScript::GetKeyState(unsigned key) { return !m_disabled && key < kKeyCount && m_keys[key] != 0; }

}  // namespace Orvix
