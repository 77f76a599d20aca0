// Reading the world's text sources: lines with their place for messages,
// words, numbers and legend entries.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "world_source.h"

namespace World {

// A text file read line by line, with the position for error messages.
class SourceReader {
 public:
  explicit SourceReader(const std::string& path) : path_(path), in_(path) {}
  bool IsOpen() const { return in_.is_open(); }
  bool Next(std::string* line);
  // "file:line: ", to start a message about the line last read.
  std::string Where() const { return path_ + ":" + std::to_string(lineNumber_) + ": "; }

 private:
  std::string path_;
  std::ifstream in_;
  int lineNumber_ = 0;
};

std::vector<std::string> Words(const std::string& line);
bool IsBlankOrComment(const std::string& line);
// Decimal or 0x-hexadecimal, the whole text, within [low, high].
bool ParseInt(const std::string& text, int low, int high, int* value);
// The rest of the line after the first `count` words, trimmed.
std::string TextAfterWords(const std::string& line, int count);
// "tile <char> <value> [name]" into `legend`; false with `problem` set otherwise.
bool ParseLegendLine(const std::string& line, const std::vector<std::string>& words, Legend* legend,
                     std::string* problem);

}  // namespace World
