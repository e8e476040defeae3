#include "app/system_name.h"

#include <cstdio>

#include "calendar/cp1251.h"

namespace velmar {
namespace {

// The value of KEY= in an os-release text, unquoted; empty when absent.
std::string Value(std::string_view text, std::string_view key) {
  std::string found;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() <= key.size() || line.substr(0, key.size()) != key || line[key.size()] != '=') continue;
    std::string_view raw = line.substr(key.size() + 1);
    std::string value;
    if (!raw.empty() && (raw.front() == '"' || raw.front() == '\'')) {
      const char quote = raw.front();
      for (std::size_t i = 1; i < raw.size() && raw[i] != quote; ++i) {
        if (quote == '"' && raw[i] == '\\' && i + 1 < raw.size() &&
            std::string_view("\"\\$`").find(raw[i + 1]) != std::string_view::npos)
          ++i;
        value += raw[i];
      }
    } else {
      value = std::string(raw);
    }
    found = value;  // the last assignment counts, as in a shell
  }
  return found;
}

}  // namespace

std::string OsReleaseName(std::string_view osRelease) {
  std::string name = Value(osRelease, "PRETTY_NAME");
  if (!name.empty()) return name;
  name = Value(osRelease, "NAME");
  if (name.empty()) return "Linux";
  const std::string version = Value(osRelease, "VERSION");
  return version.empty() ? name : name + " " + version;
}

std::string ReadOsRelease() {
  for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
    std::FILE* f = std::fopen(path, "rb");
    if (f == nullptr) continue;
    std::string text;
    char buffer[4096];
    std::size_t n;
    // A few lines are all there is; a runaway file is cut at 64 KiB.
    while (text.size() < 65536 && (n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    std::fclose(f);
    return text;
  }
  return {};
}

std::string SessionKind(std::string_view platformName, std::string_view sessionType) {
  if (platformName.starts_with("wayland")) return "Wayland";
  if (platformName == "xcb") return sessionType == "wayland" ? "X11 (XWayland)" : "X11";
  if (platformName == "offscreen" || platformName == "minimal" || platformName.empty()) return {};
  return std::string(platformName);
}

std::string SystemCaption(std::string_view osRelease, std::string_view platformName,
                          std::string_view sessionType) {
  std::string caption = "ОС: " + OsReleaseName(osRelease);
  const std::string session = SessionKind(platformName, sessionType);
  if (!session.empty()) caption += ", сеанс " + session;
  return Utf8ToCp1251(caption);
}

}  // namespace velmar
