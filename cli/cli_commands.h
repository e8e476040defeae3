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

// Reads the arguments FROM TO of a command over a period; 0, or the exit
// status of bad usage after saying what is wrong on stderr.
int ParsePeriodArgs(const std::vector<std::string>& args, const char* command, CivilDate& from,
                    CivilDate& to);

// velmar32-cli readings FROM TO: one tab-separated line per piece of each
// reading of the days FROM..TO.
int ReadingsCommand(const std::vector<std::string>& args);

// Parses YYYY-MM-DD as a valid new-style date of 1800..2100.
std::optional<CivilDate> ParseDate(const std::string& text);

}  // namespace velmar::cli
