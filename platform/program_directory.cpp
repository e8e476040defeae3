#include "platform/program_directory.h"

#include <unistd.h>

#include <climits>

namespace velmar {
namespace {
std::optional<std::string> g_override;
}  // namespace

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
