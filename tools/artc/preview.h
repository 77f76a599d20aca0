// A mock-up of the game's 512 x 512 window, drawn from the compiled sheets
// with a hand-written scene ("preview.txt"), to judge the art at its real
// size: a room, heroes and monsters, the HUD and its values, the footer.
//
// Scene lines, drawn in order ('#' starts a comment):
//   room <16 tile values>          the next of the room's 11 rows (tilemap 0)
//   sprite <name> <frame> <x> <y>  a frame of a sprite of the definition file
//   hudtile <tile> <x> <y>         a tile of tilemap 1
//   image <sheet output> <x> <y>   a whole compiled bitmap (the HUD, the footer)
//   text <x> <y> <TEXT>            in the game's font ("tevtext32.bmp")
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sheet.h"
#include "sprite_def.h"

namespace ArtC {

std::optional<ImageKit::Image> RenderScreenPreview(const std::string& scenePath,
                                                   const std::vector<Sheet>& sheets,
                                                   const SpriteDefinition& sprites, std::string* error);

}  // namespace ArtC
