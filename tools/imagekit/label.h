// Labels in a built-in 3 x 5 pixel font, for numbering tiles on review sheets
// and naming rooms on map previews. Knows digits, letters (upper-cased), space
// and - . , : / ( ) # _ ' ! ?; anything else draws as a small box.
#pragma once

#include <string>

#include "image.h"

namespace ImageKit {

// Pixel width of `text` at `scale` (4 x scale per character, minus the last gap).
int LabelWidth(const std::string& text, int scale = 1);
inline int LabelHeight(int scale = 1) { return 5 * scale; }

// Draws `text` with its top-left corner at (x, y).
void DrawLabel(Image& image, int x, int y, const std::string& text, Rgb colour, int scale = 1);

// The same on a filled box one scaled pixel larger on every side.
void DrawLabelBoxed(Image& image, int x, int y, const std::string& text, Rgb colour, Rgb background,
                    int scale = 1);

}  // namespace ImageKit
