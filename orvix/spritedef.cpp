#include "spritedef.h"

#include <strings.h>

#include <cctype>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "logging.h"

namespace Orvix {

namespace {

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == ','; }

// Like atol, without its undefined overflow: leading white space, a sign,
// digits up to the first other character; no digits read as 0.
long ReadNumber(const char* token) {
  while (std::isspace(static_cast<unsigned char>(*token))) ++token;
  bool negative = false;
  if (*token == '+' || *token == '-') negative = *token++ == '-';
  long value = 0;
  for (; *token >= '0' && *token <= '9'; ++token) {
    const int digit = *token - '0';
    value = value > (LONG_MAX - digit) / 10 ? LONG_MAX : value * 10 + digit;
  }
  return negative ? -value : value;
}

bool IsKeyword(const char* token, const char* keyword) { return strcasecmp(token, keyword) == 0; }

// Files written on Windows end their lines with CR LF; both forms end a line.
void NormaliseLineBreak(char* line) {
  const size_t length = std::strlen(line);
  if (length >= 2 && line[length - 2] == '\r' && line[length - 1] == '\n') {
    line[length - 2] = '\n';
    line[length - 1] = '\0';
  }
}

}  // namespace

bool SpriteDefParser::ParseFile() {
  FILE* file = std::fopen(m_path, "r");
  if (file == nullptr) return false;

  bool ok = true;
  char line[kLineBytes];
  while (ok && std::fgets(line, sizeof line, file) != nullptr) {
    ++m_lineNumber;
    NormaliseLineBreak(line);
    ok = ParseLine(line);
  }
  std::fclose(file);

  if (!ok) CSingleton<COrvixLogger>::Instance().Log("*** ERROR: Failed to parse %s", m_path);
  // A sprite still open at the end (error or missing brace) is not
  // registered; its record goes back to the pool.
  DropUnfinishedSprite();
  return ok;
}

bool SpriteDefParser::ParseLine(char* line) {
  char* cursor = line;
  for (;;) {
    while (IsSeparator(*cursor)) ++cursor;
    char* token = cursor;
    while (*cursor != '\0' && !IsSeparator(*cursor)) ++cursor;
    const bool lastOfLine = *cursor == '\0';
    *cursor = '\0';
    if (token[0] == '\0' || token[0] == '\n') return true;
    if (token[0] == '/' && token[1] == '/') return true;
    if (!Feed(token)) return false;
    if (lastOfLine) return true;
    ++cursor;
  }
}

bool SpriteDefParser::Feed(const char* token) {
  switch (m_state) {
    case kStatement:
      return FeedStatement(token);
    case kTilemapPath:
      if (!StoreText(token, kPathBytes - 1, "Tilemap path")) return false;
      m_state = kTileWidth;
      return true;
    case kTileWidth:
      m_tileWidth = ReadNumber(token);
      m_state = kTileHeight;
      return true;
    case kTileHeight:
      m_tileHeight = ReadNumber(token);
      m_state = kSpacing;
      return true;
    case kSpacing: {
      const int index = m_renderer.LoadTilemap(m_text, static_cast<unsigned>(m_tileWidth),
                                               static_cast<unsigned>(m_tileHeight),
                                               static_cast<unsigned>(ReadNumber(token)));
      if (index == -1) return Fail("Failed to load tilemap  %s", m_text);
      m_state = kStatement;
      return true;
    }
    case kSpriteName:
      if (!StoreText(token, RendererSDL::kSpriteNameKeyLength - 1, "Sprite name")) return false;
      m_state = kSpriteOpen;
      return true;
    case kSpriteOpen:
      if (token[0] != '{') return Fail("Sprite definitions must be enclosed in curly braces");
      m_state = kSpriteBody;
      return true;
    case kSpriteTilemap:
      m_sprite->tilemap = static_cast<int32_t>(ReadNumber(token));
      m_state = kSpriteBody;
      return true;
    case kSpriteBody:
      return FeedSpriteBody(token);
    case kAnimationOpen:
      if (token[0] != '{') return Fail("Animation definitions must be enclosed in curly braces");
      m_sprite->frameCount = 0;
      m_state = kFrameList;
      return true;
    case kFrameList:
      if (token[0] == '}') {
        m_state = kSpriteBody;
        return true;
      }
      if (m_sprite->frameCount >= SpriteType::kMaxFrames) {
        return Fail("Animation of sprite '%s' has more than %d frames", m_text, SpriteType::kMaxFrames);
      }
      m_sprite->frames[m_sprite->frameCount++] = static_cast<uint8_t>(ReadNumber(token) & 0xFF);
      return true;
  }
  return false;
}

bool SpriteDefParser::FeedStatement(const char* token) {
  if (IsKeyword(token, "SPRITE")) {
    m_sprite = m_renderer.NewSpriteType();
    if (m_sprite == nullptr) return Fail("No sprite type left in the pool for another sprite");
    m_state = kSpriteName;
    return true;
  }
  if (IsKeyword(token, "LOAD_TILEMAP")) {
    m_state = kTilemapPath;
    return true;
  }
  return Fail("Unknown keyword '%s'", token);
}

bool SpriteDefParser::FeedSpriteBody(const char* token) {
  if (token[0] == '}') {
    if (!m_renderer.RegisterSpriteType(m_text, m_sprite)) {
      CSingleton<COrvixLogger>::Instance().Log(
          "Warning (%s, line %d): Sprite '%s' is already defined; the first definition is kept", m_path,
          m_lineNumber, m_text);
      m_renderer.DeleteSpriteType(m_sprite);
    }
    m_sprite = nullptr;
    m_state = kStatement;
    return true;
  }
  if (IsKeyword(token, "TILEMAP")) {
    m_state = kSpriteTilemap;
    return true;
  }
  if (IsKeyword(token, "ANIMATION")) {
    m_state = kAnimationOpen;
    return true;
  }
  return Fail("Unknown keyword in sprite def: '%s'", token);
}

bool SpriteDefParser::StoreText(const char* token, unsigned limit, const char* what) {
  if (std::strlen(token) > limit) return Fail("%s longer than %u characters: '%s'", what, limit, token);
  std::snprintf(m_text, sizeof m_text, "%s", token);
  return true;
}

bool SpriteDefParser::Fail(const char* format, ...) {
  char message[kLineBytes + 256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(message, sizeof message, format, args);
  va_end(args);
  CSingleton<COrvixLogger>::Instance().Log("Error (%s, line %d): %s", m_path, m_lineNumber, message);
  return false;
}

void SpriteDefParser::DropUnfinishedSprite() {
  if (m_sprite != nullptr) m_renderer.DeleteSpriteType(m_sprite);
  m_sprite = nullptr;
}

}  // namespace Orvix
