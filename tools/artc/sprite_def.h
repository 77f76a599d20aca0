// A reader of the sprite definition file with the engine's tokenising rules
// (spaces, tabs and commas separate tokens; the line break stays on the last
// token of a line; "//" starts a comment; keywords ignore case), for the review
// sheet and the checks on the game's "sprite.def". It is stricter than the
// engine: a keyword or name that ends its line, which the engine would read
// with the line break in it, is reported as a problem.
#pragma once

#include <string>
#include <vector>

namespace ArtC {

struct TilemapDecl {
  std::string path;
  int tileWidth = 0;
  int tileHeight = 0;
  int spacing = 0;
};

struct SpriteDecl {
  std::string name;
  int tilemap = 0;
  std::vector<int> frames;  // tile numbers, 0 to 255
};

struct SpriteDefinition {
  std::vector<TilemapDecl> tilemaps;
  std::vector<SpriteDecl> sprites;
  // Empty when the file reads cleanly; otherwise one line a problem.
  std::vector<std::string> problems;

  const SpriteDecl* Find(const std::string& name) const;
};

SpriteDefinition ReadSpriteDefinition(const std::string& path);
SpriteDefinition ParseSpriteDefinition(const std::string& text, const std::string& path);

}  // namespace ArtC
