#include "source_text.h"

#include <sstream>

namespace World {

bool SourceReader::Next(std::string* line) {
  if (!std::getline(in_, *line)) return false;
  ++lineNumber_;
  if (!line->empty() && line->back() == '\r') line->pop_back();
  return true;
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream stream(line);
  std::vector<std::string> words;
  std::string word;
  while (stream >> word) words.push_back(word);
  return words;
}

bool IsBlankOrComment(const std::string& line) {
  const size_t first = line.find_first_not_of(" \t");
  return first == std::string::npos || line[first] == '#';
}

bool ParseInt(const std::string& text, int low, int high, int* value) {
  if (text.empty()) return false;
  size_t used = 0;
  long parsed = 0;
  try {
    parsed = std::stol(text, &used, 0);
  } catch (...) {
    return false;
  }
  if (used != text.size() || parsed < low || parsed > high) return false;
  *value = static_cast<int>(parsed);
  return true;
}

std::string TextAfterWords(const std::string& line, int count) {
  size_t at = 0;
  for (int i = 0; i < count; ++i) {
    at = line.find_first_not_of(" \t", at);
    if (at == std::string::npos) return "";
    at = line.find_first_of(" \t", at);
    if (at == std::string::npos) return "";
  }
  at = line.find_first_not_of(" \t", at);
  return at == std::string::npos ? "" : line.substr(at);
}

bool ParseLegendLine(const std::string& line, const std::vector<std::string>& words, Legend* legend,
                     std::string* problem) {
  int value = 0;
  if (words.size() < 3 || words[1].size() != 1 || !ParseInt(words[2], 0, 255, &value)) {
    *problem = "expected: tile <character> <value 0-255> [name]";
    return false;
  }
  const char symbol = words[1][0];
  if (symbol == kDoorCellChar) {
    *problem = std::string("'") + kDoorCellChar + "' is kept for door cells";
    return false;
  }
  legend->entries[symbol] = LegendEntry{static_cast<uint8_t>(value), TextAfterWords(line, 3)};
  return true;
}

}  // namespace World
