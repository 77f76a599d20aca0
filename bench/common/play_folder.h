// A folder of the benchmark's own for the logs and memory reports a game
// writes, holding links to every data file of the run folder; it becomes the
// current folder. The run folder comes from PRAEL_RUN_DIR.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

namespace prael_bench {

inline std::string MakePlayFolder(const char* runFolder) {
  char pattern[] = "/tmp/prael-bench-XXXXXX";
  const std::string folder = mkdtemp(pattern);
  for (const auto& entry : std::filesystem::directory_iterator(runFolder)) {
    const std::string name = entry.path().filename().string();
    if (name.find(".log") != std::string::npos || name == "log.txt") continue;
    std::filesystem::create_symlink(entry.path(), folder + "/" + name);
  }
  std::filesystem::current_path(folder);
  return folder;
}

}  // namespace prael_bench
