#include "temp_dir.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

ScopedTempDir::ScopedTempDir() {
  char pattern[] = "/tmp/prael-test-XXXXXX";
  m_path = mkdtemp(pattern);
  m_previous = std::filesystem::current_path().string();
  std::filesystem::current_path(m_path);
}

ScopedTempDir::~ScopedTempDir() {
  std::filesystem::current_path(m_previous);
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
}

std::string ReadFileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFileText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}
