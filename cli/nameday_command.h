#pragma once
// velmar32-cli nameday NAME [BIRTHDATE] [--year Y]: the days of a name of
// dbase/Names.db and, for a birthday, the name day.

#include <string>
#include <vector>

namespace velmar::cli {

// Returns the exit status (0, or 2 for bad usage, a missing Names.db or an
// unknown name).
int NamedayCommand(const std::vector<std::string>& args);

}  // namespace velmar::cli
