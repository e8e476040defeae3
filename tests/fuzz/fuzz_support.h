#pragma once
// Shared set-up of the fuzz targets: a private program directory in memory
// (/dev/shm when there is one), messages swallowed, reports into memory.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/settings.h"
#include "platform/messages.h"
#include "platform/program_directory.h"
#include "texts/rtf_writer.h"

namespace velmar::fuzz {

struct QuietSink : MessageSink {
  void Show(std::string_view) override {}
};

// The program directory of this fuzzing process, with its dbase/ folder.
inline const std::filesystem::path& ProgramDir() {
  static const std::filesystem::path dir = [] {
    const std::filesystem::path base =
        std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    auto d = base / ("velmar_fuzz_" + std::to_string(::getpid()));
    std::filesystem::create_directories(d / "dbase");
    SetProgramDirectory(d.string());
    static QuietSink sink;
    SetMessageSink(&sink);
    std::atexit([] { std::filesystem::remove_all(ProgramDir()); });
    return d;
  }();
  return dir;
}

inline void WriteFile(const std::filesystem::path& path, const uint8_t* data, size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) std::abort();
  if (size > 0) std::fwrite(data, 1, size, f);
  std::fclose(f);
}

// Runs writers against a throw-away in-memory report stream.
template <typename Write>
void IntoMemory(Write write) {
  char* buffer = nullptr;
  size_t length = 0;
  std::FILE* memory = open_memstream(&buffer, &length);
  AttachReportStream(memory);
  write();
  CloseReportFile();
  std::fclose(memory);
  std::free(buffer);
}

}  // namespace velmar::fuzz
