// The map tile catalogue ("tiles.txt"): for each of the 256 tile values its
// name, blocking quadrants and roles. Lines: value name flags roles description;
// roles are comma-separated or "-".
#pragma once

#include <set>
#include <string>
#include <vector>

namespace ArtC {

struct CatalogueEntry {
  std::string name;
  int flags = -1;
  std::set<std::string> roles;
};

class Catalogue {
 public:
  bool Load(const std::string& path, std::string* error);
  const std::string& Name(int value) const { return entries_.at(value).name; }
  const CatalogueEntry& Entry(int value) const { return entries_.at(value); }
  // Values that carry `role`, in ascending order.
  std::vector<int> WithRole(const std::string& role) const;

 private:
  std::vector<CatalogueEntry> entries_ = std::vector<CatalogueEntry>(256);
};

}  // namespace ArtC
