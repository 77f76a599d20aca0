// The review sheet: every compiled sheet with its tiles numbered, and every
// sprite of the sprite definition file with its frames, in one PNG for people
// who work on the art.
#pragma once

#include <string>
#include <vector>

#include "sheet.h"
#include "sprite_def.h"

namespace ArtC {

ImageKit::Image RenderReview(const std::vector<Sheet>& sheets, const SpriteDefinition& sprites);

}  // namespace ArtC
