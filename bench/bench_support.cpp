#include "bench/bench_support.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <set>
#include <system_error>

#include "app/settings.h"
#include "bench/make_database.h"
#include "calendar/cp1251.h"
#include "platform/program_directory.h"

extern char** environ;

namespace velmar {

std::string BenchWorkDirectory() {
  if (const char* fromEnvironment = std::getenv("VELMAR_BENCH_WORK");
      fromEnvironment != nullptr && *fromEnvironment != '\0') {
    return fromEnvironment;
  }
  return VELMAR_BENCH_WORK_DIR;
}

std::string PrepareProgramDirectory(std::string_view name) {
  static std::set<std::string, std::less<>> prepared;
  namespace fs = std::filesystem;
  const fs::path folder = fs::path(BenchWorkDirectory()) / std::string(name);
  std::string result = folder.string() + "/";
  if (prepared.find(name) != prepared.end()) return result;
  const SyntheticDatabase database = MakeSyntheticDatabase((folder / "dbase").string());
  if (!database.ok) return {};
  std::error_code error;
  fs::copy_file(VELMAR_SHIPPED_INI, folder / "Velmar32.ini", fs::copy_options::overwrite_existing,
                error);
  if (error) return {};
  prepared.emplace(name);
  return result;
}

void UseProgramDirectory(const std::string& folder) {
  SetProgramDirectory(folder);
  ResetSettings();
}

CountingMessageSink::CountingMessageSink() : previous_(SetMessageSink(this)) {}

CountingMessageSink::~CountingMessageSink() { SetMessageSink(previous_); }

void CountingMessageSink::Show(std::string_view text) {
  if (count++ == 0) first = Cp1251ToUtf8(text);
}

std::uintmax_t FileSize(const std::string& path) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  return error ? 0 : size;
}

bool SameBytes(const std::string& a, const std::string& b) {
  std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
  if (!fa || !fb) return false;
  static char bufferA[1 << 16], bufferB[1 << 16];
  while (true) {
    fa.read(bufferA, sizeof bufferA);
    fb.read(bufferB, sizeof bufferB);
    const std::streamsize na = fa.gcount(), nb = fb.gcount();
    if (na != nb || std::memcmp(bufferA, bufferB, static_cast<std::size_t>(na)) != 0) return false;
    if (na == 0) return true;
  }
}

double TimeSequentialWrite(const std::string& path, std::uintmax_t bytes) {
  static char chunk[64 * 1024];
  static bool filled = false;
  if (!filled) {
    // RTF-like filler, so that nothing downstream could treat it as zeros.
    for (std::size_t i = 0; i < sizeof chunk; ++i)
      chunk[i] = static_cast<char>(i % 64 == 63 ? '\n' : 'a' + static_cast<char>(i % 26));
    filled = true;
  }
  const double start = MonotonicSeconds();
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return -1;
  bool ok = true;
  for (std::uintmax_t left = bytes; left > 0 && ok;) {
    const std::size_t n = left < sizeof chunk ? static_cast<std::size_t>(left) : sizeof chunk;
    ok = std::fwrite(chunk, 1, n, f) == n;
    left -= n;
  }
  ok = std::fflush(f) == 0 && ok;
  ok = std::fclose(f) == 0 && ok;
  const double seconds = MonotonicSeconds() - start;
  return ok ? seconds : -1;
}

long PeakResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

double MonotonicSeconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double ProcessCpuSeconds() {
  timespec used{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
  return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) * 1e-9;
}

std::string RunAndCapture(const std::string& executable, const std::vector<std::string>& arguments,
                          int& exitCode) {
  exitCode = -1;
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
  std::vector<std::string> words{executable};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  const int spawned =
      posix_spawn(&child, executable.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  std::string output;
  if (spawned == 0) {
    char buffer[4096];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) != 0;) {
      if (n < 0) {
        if (errno == EINTR) continue;
        break;
      }
      output.append(buffer, static_cast<std::size_t>(n));
    }
  }
  close(pipeEnds[0]);
  if (spawned != 0) return {};
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) exitCode = WEXITSTATUS(status);
  return output;
}

std::string BenchProgramFolder() {
  const std::filesystem::path self = ExecutablePath();
  return self.parent_path().string() + "/";
}

}  // namespace velmar
