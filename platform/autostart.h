#pragma once
// Starting the program at login: an entry in the user's XDG autostart folder
// ($XDG_CONFIG_HOME/autostart, by default ~/.config/autostart) named
// velmar32.desktop, whose Exec is the executable's full path. The entry's
// presence is what counts. Failures aren't reported: the caller's check mark
// shows what the user asked for.

#include <string>

namespace velmar {

class Autostart {
 public:
  // Whether the entry exists.
  static bool IsOn();
  // Writes the entry for the executable's full path (creating the folder);
  // the entry is replaced whole or not at all.
  static void Add(const std::string& executablePath);
  // Deletes the entry.
  static void Remove();
  // Full path of the entry from the environment; empty without a HOME.
  static std::string EntryPath();
};

}  // namespace velmar
