#include "platform/program_directory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace velmar {
namespace {

std::optional<std::string> g_override;
std::optional<bool> g_writable;

bool ProgramDirectoryWritable() {
  if (g_writable) return *g_writable;
  return access(ProgramDirectory().c_str(), W_OK) == 0;
}

// $NAME, or $HOME/fallback when NAME is unset or not absolute; ends with '/'.
std::string XdgFolder(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  std::string folder;
  if (value != nullptr && value[0] == '/') {
    folder = value;
  } else {
    const char* home = std::getenv("HOME");
    folder = std::string(home != nullptr ? home : "/tmp") + "/" + fallback;
  }
  if (folder.back() != '/') folder += '/';
  return folder;
}

// Creates a folder and its parents (mode 0700 for new ones); true when it
// exists afterwards.
bool MakeFolders(const std::string& folder) {
  for (std::size_t at = 1; at <= folder.size(); ++at) {
    if (at != folder.size() && folder[at] != '/') continue;
    const std::string part = folder.substr(0, at);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  struct stat info {};
  return stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool CopyFile(const std::string& from, const std::string& to) {
  std::FILE* in = std::fopen(from.c_str(), "rb");
  if (in == nullptr) return false;
  const std::string temporary = to + ".new";
  std::FILE* out = std::fopen(temporary.c_str(), "wb");
  if (out == nullptr) {
    std::fclose(in);
    return false;
  }
  char buffer[8192];
  bool ok = true;
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0)
    ok = ok && std::fwrite(buffer, 1, n, out) == n;
  ok = !std::ferror(in) && ok;
  std::fclose(in);
  ok = std::fclose(out) == 0 && ok;
  if (!ok || std::rename(temporary.c_str(), to.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace

std::string WritableFilesDirectory() {
  if (ProgramDirectoryWritable()) return ProgramDirectory();
  const std::string folder = XdgFolder("XDG_STATE_HOME", ".local/state") + "velmar32/";
  MakeFolders(folder);  // a failure shows later, when a file can't be written there
  return folder;
}

std::string SettingsFilePath() {
  const std::string shipped = ProgramDirectory() + "Velmar32.ini";
  if (ProgramDirectoryWritable()) return shipped;
  const std::string folder = XdgFolder("XDG_CONFIG_HOME", ".config") + "velmar32/";
  const std::string copy = folder + "Velmar32.ini";
  if (access(copy.c_str(), F_OK) != 0 && MakeFolders(folder)) CopyFile(shipped, copy);
  return access(copy.c_str(), R_OK) == 0 ? copy : shipped;
}

void SetProgramDirectoryWritable(std::optional<bool> writable) { g_writable = writable; }

std::string ExecutablePath() {
  char buffer[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return {};
  return std::string(buffer, static_cast<std::size_t>(n));
}

std::string ProgramDirectory() {
  if (g_override) return *g_override;
  std::string path = ExecutablePath();
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return "./";
  path.resize(slash + 1);
  return path;
}

void SetProgramDirectory(std::optional<std::string> directory) {
  if (directory && !directory->empty() && directory->back() != '/') *directory += '/';
  if (directory && directory->empty()) *directory = "./";
  g_override = std::move(directory);
}

}  // namespace velmar
