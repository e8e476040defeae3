#pragma once
// What the benchmark programs share: a program directory of their own for
// each benchmark, with the synthetic database in its dbase/, a message sink
// that counts what the core would have shown, and small helpers for the
// figures (peak memory, file sizes, byte comparison, a timed child process).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/messages.h"

namespace velmar {

// The folder under which every benchmark gets its program directory: the
// environment variable VELMAR_BENCH_WORK, or the build's bench-work/.
std::string BenchWorkDirectory();

// BenchWorkDirectory()/name/ with the synthetic database in dbase/ (written
// on the first call in this process) and the shipped Velmar32.ini beside it.
// Returns the folder, ending with '/'; empty when it could not be prepared.
std::string PrepareProgramDirectory(std::string_view name);

// Makes the folder the program directory and the settings those of a fresh
// start (ResetSettings). The database's files are not read here.
void UseProgramDirectory(const std::string& folder);

// Counts the messages the core shows while it is installed and keeps the
// first, so that a benchmark that met a missing or broken file says so
// instead of timing a shorter document.
class CountingMessageSink : public MessageSink {
 public:
  CountingMessageSink();
  ~CountingMessageSink() override;
  CountingMessageSink(const CountingMessageSink&) = delete;
  CountingMessageSink& operator=(const CountingMessageSink&) = delete;
  void Show(std::string_view text) override;

  long count = 0;
  std::string first;  // UTF-8

 private:
  MessageSink* previous_;
};

// Size of a file in bytes, 0 when it doesn't exist.
std::uintmax_t FileSize(const std::string& path);

// True when both files exist and hold the same bytes.
bool SameBytes(const std::string& a, const std::string& b);

// Writes bytes of filler into path with one sequential stream: fwrite of a
// 64 KB buffer at a time, fflush, fclose. Returns the seconds it took
// (wall clock, from the fopen to the fclose), or a negative value on failure.
double TimeSequentialWrite(const std::string& path, std::uintmax_t bytes);

// The process's peak resident set (VmHWM of /proc/self/status), in KiB.
long PeakResidentKiB();

// Seconds of CLOCK_MONOTONIC, the clock shared by every process of the
// machine, so that a parent and its child can compare their readings.
double MonotonicSeconds();

// CPU seconds (user and system) used by this process so far.
double ProcessCpuSeconds();

// Runs an executable with its arguments, without a shell, and returns what
// it wrote to its standard output. exitCode gets its exit status (-1 when it
// could not be started or did not exit normally).
std::string RunAndCapture(const std::string& executable, const std::vector<std::string>& arguments,
                          int& exitCode);

// Folder of the running benchmark program, ending with '/'.
std::string BenchProgramFolder();

}  // namespace velmar
