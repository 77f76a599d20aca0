#include "catalogue.h"

#include <fstream>
#include <sstream>

#include "picture_library.h"

namespace ArtC {

bool Catalogue::Load(const std::string& path, std::string* error) {
  std::ifstream in(path);
  if (!in) {
    *error = "cannot open " + path;
    return false;
  }
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    const std::vector<std::string> words = Words(line);
    if (words.empty() || words[0][0] == '#') continue;
    int value, flags;
    if (words.size() < 4 || !ParseInt(words[0], &value) || value < 0 || value > 255 ||
        !ParseInt(words[2], &flags) || flags < 0 || flags > 15) {
      *error = path + ":" + std::to_string(number) + ": expected \"value name flags roles [description]\"";
      return false;
    }
    CatalogueEntry& entry = entries_[value];
    if (!entry.name.empty()) {
      *error = path + ":" + std::to_string(number) + ": value " + words[0] + " is listed twice";
      return false;
    }
    entry.name = words[1];
    entry.flags = flags;
    if (words[3] != "-") {
      std::istringstream roles(words[3]);
      std::string role;
      while (std::getline(roles, role, ',')) entry.roles.insert(role);
    }
  }
  for (int value = 0; value < 256; ++value)
    if (entries_[value].name.empty()) {
      *error = path + ": value " + std::to_string(value) + " is missing";
      return false;
    }
  return true;
}

std::vector<int> Catalogue::WithRole(const std::string& role) const {
  std::vector<int> values;
  for (int value = 0; value < 256; ++value)
    if (entries_[value].roles.count(role)) values.push_back(value);
  return values;
}

}  // namespace ArtC
