#include "sprite_def.h"

#include <strings.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace ArtC {

const SpriteDecl* SpriteDefinition::Find(const std::string& name) const {
  for (const SpriteDecl& sprite : sprites)
    if (sprite.name == name) return &sprite;
  return nullptr;
}

namespace {

enum class Expect {
  Statement,
  TilemapPath,
  TileWidth,
  TileHeight,
  Spacing,
  SpriteName,
  SpriteOpen,
  TilemapIndex,
  SpriteBody,
  AnimationOpen,
  Frames
};

bool IsKeyword(const std::string& token, const char* keyword) {
  return strcasecmp(token.c_str(), keyword) == 0;
}

}  // namespace

SpriteDefinition ParseSpriteDefinition(const std::string& text, const std::string& path) {
  SpriteDefinition result;
  Expect expect = Expect::Statement;
  SpriteDecl current;
  TilemapDecl tilemap;
  std::istringstream in(text);
  std::string line;
  int number = 0;
  auto problem = [&](const std::string& what) {
    result.problems.push_back(path + ":" + std::to_string(number) + ": " + what);
  };
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> tokens;
    std::string token;
    for (char c : line) {
      if (c == ' ' || c == '\t' || c == ',') {
        if (!token.empty()) tokens.push_back(token);
        token.clear();
      } else {
        token += c;
      }
    }
    if (!token.empty()) tokens.push_back(token);
    for (size_t i = 0; i < tokens.size(); ++i) {
      const std::string& t = tokens[i];
      const bool lastOnLine = i + 1 == tokens.size();
      if (t.rfind("//", 0) == 0) break;
      const bool wordToken = expect == Expect::Statement || expect == Expect::SpriteName ||
                             expect == Expect::TilemapPath || expect == Expect::SpriteBody;
      if (wordToken && lastOnLine && t[0] != '}' && t[0] != '{')
        problem("\"" + t + "\" ends its line; the engine would read it with the line break");
      switch (expect) {
        case Expect::Statement:
          if (IsKeyword(t, "SPRITE")) {
            current = SpriteDecl{};
            expect = Expect::SpriteName;
          } else if (IsKeyword(t, "LOAD_TILEMAP")) {
            tilemap = TilemapDecl{};
            expect = Expect::TilemapPath;
          } else {
            problem("unknown keyword '" + t + "'");
            return result;
          }
          break;
        case Expect::TilemapPath:
          tilemap.path = t;
          expect = Expect::TileWidth;
          break;
        case Expect::TileWidth:
          tilemap.tileWidth = std::atoi(t.c_str());
          expect = Expect::TileHeight;
          break;
        case Expect::TileHeight:
          tilemap.tileHeight = std::atoi(t.c_str());
          expect = Expect::Spacing;
          break;
        case Expect::Spacing:
          tilemap.spacing = std::atoi(t.c_str());
          result.tilemaps.push_back(tilemap);
          expect = Expect::Statement;
          break;
        case Expect::SpriteName:
          current.name = t;
          expect = Expect::SpriteOpen;
          break;
        case Expect::SpriteOpen:
          if (t[0] != '{') {
            problem("sprite definitions must be enclosed in curly braces");
            return result;
          }
          expect = Expect::SpriteBody;
          break;
        case Expect::TilemapIndex:
          current.tilemap = std::atoi(t.c_str());
          expect = Expect::SpriteBody;
          break;
        case Expect::SpriteBody:
          if (t[0] == '}') {
            if (result.Find(current.name))
              problem("sprite \"" + current.name + "\" is declared twice; the first one counts");
            else
              result.sprites.push_back(current);
            expect = Expect::Statement;
          } else if (IsKeyword(t, "TILEMAP")) {
            expect = Expect::TilemapIndex;
          } else if (IsKeyword(t, "ANIMATION")) {
            expect = Expect::AnimationOpen;
          } else {
            problem("unknown keyword in sprite def: '" + t + "'");
            return result;
          }
          break;
        case Expect::AnimationOpen:
          if (t[0] != '{') {
            problem("animation definitions must be enclosed in curly braces");
            return result;
          }
          current.frames.clear();
          expect = Expect::Frames;
          break;
        case Expect::Frames:
          if (t[0] == '}') {
            expect = Expect::SpriteBody;
          } else {
            const long value = std::atol(t.c_str());
            if (value < 0 || value > 255) problem("frame " + t + " does not fit in a byte");
            current.frames.push_back(static_cast<int>(value & 0xff));
          }
          break;
      }
    }
  }
  if (expect != Expect::Statement) problem("the file ends inside a statement");
  return result;
}

SpriteDefinition ReadSpriteDefinition(const std::string& path) {
  std::ifstream in(path);
  if (!in) {
    SpriteDefinition result;
    result.problems.push_back("cannot open " + path);
    return result;
  }
  std::stringstream text;
  text << in.rdbuf();
  return ParseSpriteDefinition(text.str(), path);
}

}  // namespace ArtC
