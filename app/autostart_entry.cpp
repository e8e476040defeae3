#include "app/autostart_entry.h"

#include "calendar/cp1251.h"

namespace velmar {
namespace {

constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";

// Escapes of a string value of a desktop entry, applied after the quoting.
void AppendStringValue(std::string& out, char c) {
  switch (c) {
    case '\\': out += "\\\\"; break;
    case '\n': out += "\\n"; break;
    case '\t': out += "\\t"; break;
    case '\r': out += "\\r"; break;
    default: out += c; break;
  }
}

}  // namespace

std::string AutostartEntryPath(const char* xdgConfigHome, const char* home) {
  std::string config;
  if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/') {
    config = xdgConfigHome;
  } else if (home != nullptr && home[0] != '\0') {
    config = std::string(home) + "/.config";
  } else {
    return {};
  }
  while (config.size() > 1 && config.back() == '/') config.pop_back();
  return config + "/autostart/velmar32.desktop";
}

std::string DesktopExecArgument(std::string_view path) {
  const bool quote = path.find_first_of(kReserved) != std::string_view::npos ||
                     path.find('\r') != std::string_view::npos;
  std::string quoted;
  if (quote) quoted += '"';
  for (const char c : path) {
    if (c == '%') {
      quoted += "%%";
      continue;
    }
    if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) quoted += '\\';
    quoted += c;
  }
  if (quote) quoted += '"';
  std::string out;
  for (const char c : quoted) AppendStringValue(out, c);
  return out;
}

std::string AutostartEntryText(std::string_view executablePath) {
  std::string text = "[Desktop Entry]\nType=Application\nName=";
  text += Cp1251ToUtf8("Днесловник"_cp);
  text += "\nExec=";
  text += DesktopExecArgument(executablePath);
  text += "\nTerminal=false\n";
  return text;
}

}  // namespace velmar
