#pragma once
// The record callers pass to ChangeConfigFile, and the array that carries it. The array keeps
// the two facts a Visual Basic array has beyond its items: whether it was dimensioned, and
// the index of its first item.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace hv::halvane {

struct ConfigFileType {
  std::string KeyToChange;  // without the equals sign
  std::string ValueToSet;   // the text written after the equals sign
};

struct ConfigFileArray {
  std::vector<ConfigFileType> items;
  std::int32_t lower_bound = 0;
  bool dimensioned = true;

  ConfigFileArray() = default;
  ConfigFileArray(std::vector<ConfigFileType> entries) : items(std::move(entries)) {}
  ConfigFileArray(std::initializer_list<ConfigFileType> entries) : items(entries) {}

  static ConfigFileArray NotDimensioned() {
    ConfigFileArray a;
    a.dimensioned = false;
    return a;
  }
  // Usable from index 0 to its upper bound.
  bool StartsAtZero() const noexcept { return dimensioned && !items.empty() && lower_bound == 0; }
};

}  // namespace hv::halvane
