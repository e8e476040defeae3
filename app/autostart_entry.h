#pragma once
// The autostart entry of the desktop: a file in the user's XDG autostart
// folder that starts the program at login. Its presence is what the main
// window shows as the check mark of "Запускать при &входе в систему". The entry
// text is UTF-8, as the Desktop Entry format wants.

#include <string>
#include <string_view>

namespace velmar {

// Full path of the entry: <config>/autostart/velmar32.desktop, where <config> is
// xdgConfigHome when it is set and absolute, otherwise home + "/.config".
// Empty when neither gives a folder (no usable HOME).
std::string AutostartEntryPath(const char* xdgConfigHome, const char* home);

// A program path as the single argument of an Exec= line: as it is when it
// holds none of the characters the Desktop Entry format reserves, otherwise
// in double quotes with ", `, $ and \ escaped; a literal % is doubled; and
// the result is escaped once more as a string value (\ becomes \\, a line
// feed \n), so that "/opt/my $dir/a" gives "/opt/my \\$dir/a" in quotes.
std::string DesktopExecArgument(std::string_view path);

// The whole entry for the executable's full path: type, name "Днесловник",
// the Exec= line and Terminal=false, each line ending with a line feed.
std::string AutostartEntryText(std::string_view executablePath);

}  // namespace velmar
