#pragma once
// The commands of velmar32-cli.

#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"

namespace velmar::cli {

// Runs one command with its arguments; returns the process exit status
// (0 success, 2 bad usage or input, 1 failure to write).
int Run(const std::string& command, const std::vector<std::string>& args);

// Parses YYYY-MM-DD as a valid new-style date of 1800..2100.
std::optional<CivilDate> ParseDate(const std::string& text);

}  // namespace velmar::cli
