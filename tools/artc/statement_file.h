// The form every art source takes: one statement a line, words separated by
// white space, blank lines and lines starting with '#' skipped. Errors name
// the file and the line.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace ArtC {

class StatementFile {
 public:
  // False (with "cannot open <path>" in `error`) when the file cannot be read.
  bool Open(const std::string& path, std::string* error);

  // Moves to the next statement; false at the end of the file.
  bool Next();
  // The next line as it stands, for data inside a statement (picture rows);
  // false at the end of the file.
  bool NextRawLine(std::string* line);

  const std::vector<std::string>& Words() const { return words_; }
  // The text after the first '=' of the statement, or empty.
  std::string AfterEquals() const;
  // The folder of the file, against which the names it gives are read.
  std::filesystem::path Folder() const { return std::filesystem::path(path_).parent_path(); }

  // Sets `error` to "<path>:<line>: <text>"; returns false for the caller to pass on.
  bool Fail(std::string* error, const std::string& text) const;

 private:
  std::string path_;
  std::ifstream in_;
  std::string line_;
  std::vector<std::string> words_;
  int number_ = 0;
};

// Splits on white space.
std::vector<std::string> Words(const std::string& line);
// Removes white space at both ends.
std::string Trim(const std::string& text);
// Reads a whole decimal number of up to nine digits; false on anything else.
bool ParseInt(const std::string& text, int* value);

}  // namespace ArtC
