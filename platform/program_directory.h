#pragma once
// The program directory: the folder of the running executable, as a text that
// ends with the path separator. Every file the program uses is named by
// appending a relative name to it. Tests and the CLI's --dir override it.

#include <optional>
#include <string>

namespace velmar {

// The program directory, ending with '/'. Worked out afresh on every call
// (from /proc/self/exe) unless an override is set.
std::string ProgramDirectory();

// Overrides the program directory (a trailing '/' is added when missing);
// std::nullopt returns to the executable's folder.
void SetProgramDirectory(std::optional<std::string> directory);

// Full path of the running executable.
std::string ExecutablePath();

}  // namespace velmar
