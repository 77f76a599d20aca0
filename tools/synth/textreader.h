// Reads the sound tools' text sources: one statement a line, words split by
// blanks, a word starting with "#" starting a comment. Errors name the file and line, compiler
// style, so that a wrong recipe fails the build where it is wrong.
#pragma once

#include <string>
#include <vector>

struct TextLine {
  int number = 0;
  std::vector<std::string> words;  // never empty
};

class TextReader {
 public:
  bool Open(const std::string& path);
  const std::string& Path() const { return m_path; }
  const std::vector<TextLine>& Lines() const { return m_lines; }

  void Error(const TextLine& line, const std::string& message);
  bool Failed() const { return m_failed; }

  // Word `index` of `line` as a number; reports an error when it is
  // missing or not a number.
  bool Number(const TextLine& line, size_t index, double& value);
  // Checks that the line has exactly `count` words after its key.
  bool Arguments(const TextLine& line, size_t count);

 private:
  std::string m_path;
  std::vector<TextLine> m_lines;
  bool m_failed = false;
};
