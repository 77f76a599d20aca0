// The sprite definition file reader behind RendererSDL::LoadSpriteDef.
//
// The file is text read line by line (at most 1023 characters a line; longer
// lines are read in pieces that count as lines of their own). Tokens are
// separated by spaces, tabs and commas; the line break is not a separator, so
// the last token of a line keeps it: a keyword or name must not end its line
// (numbers and braces may). A token starting with "//", or with the line
// break, ends its line. Keywords ignore case; names do not. Numbers read like
// atol; "{" and "}" are recognised by their first character.
//
//   LOAD_TILEMAP <path> <tile width> <tile height> <spacing>
//   SPRITE <name> { TILEMAP <index> ANIMATION { <tile> <tile> ... } }
//
// Limits: paths of 127 characters, sprite names of 31, 64 frames per
// animation. Going beyond one is a syntax error.
#pragma once

#include "renderersdl.h"

namespace Orvix {

class SpriteDefParser {
 public:
  SpriteDefParser(RendererSDL& renderer, const char* path) : m_renderer(renderer), m_path(path) {}
  SpriteDefParser(const SpriteDefParser&) = delete;
  SpriteDefParser& operator=(const SpriteDefParser&) = delete;

  // Reads the whole file; false when it cannot be opened (silently) or at the
  // first syntax error (logged). What was completed before an error stays.
  bool ParseFile();

  static constexpr int kLineBytes = 1024;
  static constexpr int kPathBytes = 128;

 private:
  // The states keep the numbers of the format's description.
  enum State {
    kStatement = 0,
    kTilemapPath = 1,
    kTileWidth = 2,
    kTileHeight = 3,
    kSpacing = 4,
    kSpriteName = 5,
    kSpriteOpen = 6,
    kSpriteTilemap = 7,
    kSpriteBody = 8,
    kAnimationOpen = 10,
    kFrameList = 11,
  };

  // False at a syntax error.
  bool ParseLine(char* line);
  bool Feed(const char* token);
  bool FeedStatement(const char* token);
  bool FeedSpriteBody(const char* token);
  bool StoreText(const char* token, unsigned limit, const char* what);
  // Logs "Error (<file>, line <n>): <message>" and returns false.
  bool Fail(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void DropUnfinishedSprite();

  RendererSDL& m_renderer;
  const char* m_path;
  int m_lineNumber = 0;
  State m_state = kStatement;
  SpriteType* m_sprite = nullptr;  // being defined; a pool record until registered
  char m_text[kPathBytes] = {};    // the tilemap path or the sprite name
  long m_tileWidth = 0;
  long m_tileHeight = 0;
};

}  // namespace Orvix
