#include "platform/autostart.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "app/autostart_entry.h"

namespace velmar {

std::string Autostart::EntryPath() {
  return AutostartEntryPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

bool Autostart::IsOn() {
  const std::string path = EntryPath();
  std::error_code error;
  return !path.empty() && std::filesystem::exists(path, error);
}

void Autostart::Add(const std::string& executablePath) {
  const std::string path = EntryPath();
  if (path.empty()) return;
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
  const std::string temporary = path + ".new";
  std::FILE* f = std::fopen(temporary.c_str(), "wb");
  if (f == nullptr) return;
  const std::string text = AutostartEntryText(executablePath);
  bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  ok = std::fclose(f) == 0 && ok;
  if (!ok || std::rename(temporary.c_str(), path.c_str()) != 0) std::remove(temporary.c_str());
}

void Autostart::Remove() {
  const std::string path = EntryPath();
  if (!path.empty()) std::remove(path.c_str());
}

}  // namespace velmar
