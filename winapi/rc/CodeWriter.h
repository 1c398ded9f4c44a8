// Writes a compiled resource script as C++ that registers its tables with the layer.
#pragma once

#include <string>

#include "ResourceScript.h"

namespace winrc {

// The C++ source for `script`; `scriptName` only labels the file's first line.
std::string writeResourceSource(const ResourceScript& script, const std::string& scriptName);

// A make-style dependency line: `target: dependencies...`.
std::string writeDepfile(const std::string& target, const std::vector<std::string>& dependencies);

}  // namespace winrc
