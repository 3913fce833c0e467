#pragma once
// The general functions the launchers call are the LauncherFunctionsOps of hvFunctions. Each
// launcher call makes its own object through a factory and lets it go before it returns, as it
// would create and release an hvFunctions object.

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "halvane/functions/functions_ops.h"

namespace hv::halvane {

// KeyToChange and ValueToSet of a configuration-file edit, in the order they are applied.
using ConfigEntries = std::vector<std::pair<std::string, std::string>>;

// The 0-based array ChangeConfigFile takes.
inline ConfigFileArray ToConfigFileArray(const ConfigEntries& entries) {
  ConfigFileArray array;
  for (const auto& [key, value] : entries) array.items.push_back({key, value});
  return array;
}

inline ConfigEntries ToConfigEntries(const ConfigFileArray& array) {
  ConfigEntries entries;
  for (const auto& item : array.items) entries.emplace_back(item.KeyToChange, item.ValueToSet);
  return entries;
}

// Makes a fresh functions object for one call. May throw hv::Error when none can be made.
using FunctionsFactory = std::function<std::unique_ptr<LauncherFunctionsOps>()>;

}  // namespace hv::halvane
