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

// Where the program writes its own files (the report file and Position.ini):
// the program directory when the program may write there; otherwise, as on a
// system-wide install, the user's state folder $XDG_STATE_HOME/velmar32/
// (by default ~/.local/state/velmar32/), created when needed. Ends with '/'.
std::string WritableFilesDirectory();

// The settings file the program reads and the settings editor opens: the
// program directory's Velmar32.ini when the program directory is writable;
// otherwise the user's copy $XDG_CONFIG_HOME/velmar32/Velmar32.ini (by default
// ~/.config/velmar32/), made from the shipped file on first use.
std::string SettingsFilePath();

// For tests: treat the program directory as writable or not, whatever the
// file system says; std::nullopt asks the file system again.
void SetProgramDirectoryWritable(std::optional<bool> writable);

}  // namespace velmar
