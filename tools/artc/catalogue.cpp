#include "catalogue.h"

#include <sstream>

#include "statement_file.h"

namespace ArtC {

bool Catalogue::Load(const std::string& path, std::string* error) {
  StatementFile file;
  if (!file.Open(path, error)) return false;
  while (file.Next()) {
    const std::vector<std::string>& words = file.Words();
    int value, flags;
    if (words.size() < 4 || !ParseInt(words[0], &value) || value < 0 || value > 255 ||
        !ParseInt(words[2], &flags) || flags < 0 || flags > 15)
      return file.Fail(error, "expected \"value name flags roles [description]\"");
    CatalogueEntry& entry = entries_[value];
    if (!entry.name.empty()) return file.Fail(error, "value " + words[0] + " is listed twice");
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
