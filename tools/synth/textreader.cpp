#include "textreader.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

bool TextReader::Open(const std::string& path) {
  m_path = path;
  std::ifstream file(path);
  if (!file) {
    std::fprintf(stderr, "%s: cannot read\n", path.c_str());
    m_failed = true;
    return false;
  }
  std::string text;
  for (int number = 1; std::getline(file, text); ++number) {
    // A comment starts at a "#" that begins a word; inside one it is a sharp (C#5).
    for (size_t at = text.find('#'); at != std::string::npos; at = text.find('#', at + 1))
      if (at == 0 || std::isspace(static_cast<unsigned char>(text[at - 1]))) {
        text.resize(at);
        break;
      }
    std::istringstream words(text);
    TextLine line;
    line.number = number;
    for (std::string word; words >> word;) line.words.push_back(word);
    if (!line.words.empty()) m_lines.push_back(line);
  }
  return true;
}

void TextReader::Error(const TextLine& line, const std::string& message) {
  std::fprintf(stderr, "%s:%d: %s\n", m_path.c_str(), line.number, message.c_str());
  m_failed = true;
}

bool TextReader::Number(const TextLine& line, size_t index, double& value) {
  if (index >= line.words.size()) {
    Error(line, "'" + line.words[0] + "' needs more numbers");
    return false;
  }
  const char* text = line.words[index].c_str();
  char* end = nullptr;
  value = std::strtod(text, &end);
  if (end == text || *end != '\0') {
    Error(line, "'" + line.words[index] + "' is not a number");
    return false;
  }
  return true;
}

bool TextReader::Arguments(const TextLine& line, size_t count) {
  if (line.words.size() == count + 1) return true;
  Error(line, "'" + line.words[0] + "' takes " + std::to_string(count) + " value(s)");
  return false;
}
