#include "statement_file.h"

#include <cctype>
#include <sstream>

namespace ArtC {

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  std::string word;
  while (in >> word) words.push_back(word);
  return words;
}

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  const size_t last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

bool ParseInt(const std::string& text, int* value) {
  if (text.empty() || text.size() > 9) return false;
  const size_t start = (text[0] == '-') ? 1 : 0;
  if (start == text.size()) return false;
  for (size_t i = start; i < text.size(); ++i)
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
  *value = std::stoi(text);
  return true;
}

bool StatementFile::Open(const std::string& path, std::string* error) {
  path_ = path;
  in_.open(path);
  if (!in_) {
    *error = "cannot open " + path;
    return false;
  }
  return true;
}

bool StatementFile::Next() {
  while (std::getline(in_, line_)) {
    ++number_;
    words_ = ArtC::Words(line_);
    if (!words_.empty() && words_[0][0] != '#') return true;
  }
  words_.clear();
  return false;
}

bool StatementFile::NextRawLine(std::string* line) {
  if (!std::getline(in_, *line)) return false;
  ++number_;
  return true;
}

std::string StatementFile::AfterEquals() const {
  const size_t equals = line_.find('=');
  return equals == std::string::npos ? "" : line_.substr(equals + 1);
}

bool StatementFile::Fail(std::string* error, const std::string& text) const {
  *error = path_ + ":" + std::to_string(number_) + ": " + text;
  return false;
}

}  // namespace ArtC
