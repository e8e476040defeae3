#pragma once
// A temporary program directory with a copy of a fixture database, and
// helpers to capture what the writers put into the report stream.

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>

#include "app/settings.h"
#include "calendar/cp1251.h"
#include "platform/program_directory.h"
#include "texts/rtf_writer.h"

namespace velmar::testing {

class TempProgramDir {
 public:
  // Copies the dbase/ folder of a fixture (a folder under tests/data, or the
  // shipped data/ folder) into a fresh program directory.
  explicit TempProgramDir(const std::filesystem::path& fixture = {}) {
    static int counter = 0;
    dir_ = std::filesystem::temp_directory_path() /
           ("velmar_prog_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    if (!fixture.empty())
      std::filesystem::copy(fixture / "dbase", dir_ / "dbase",
                            std::filesystem::copy_options::recursive);
    SetProgramDirectory(dir_.string());
    // Never the real home: the user folders of a read-only install live here.
    setenv("XDG_STATE_HOME", (dir_ / ".state").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (dir_ / ".config").c_str(), 1);
    ResetSettings();
  }
  ~TempProgramDir() {
    SetProgramDirectoryWritable(std::nullopt);
    unsetenv("XDG_STATE_HOME");
    unsetenv("XDG_CONFIG_HOME");
    SetProgramDirectory(std::nullopt);
    ResetSettings();
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  const std::filesystem::path& path() const { return dir_; }

  // Makes every place the program writes to unusable: the program directory
  // counts as read-only and the state folder is a file.
  void MakeUnwritable() {
    SetProgramDirectoryWritable(false);
    std::ofstream(dir_ / ".blocked") << "not a folder";
    setenv("XDG_STATE_HOME", (dir_ / ".blocked").c_str(), 1);
  }

 private:
  std::filesystem::path dir_;
};

inline std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs writers against an in-memory report stream; returns the bytes as UTF-8.
inline std::string Capture(const std::function<void()>& write) {
  char* data = nullptr;
  std::size_t size = 0;
  std::FILE* memory = open_memstream(&data, &size);
  AttachReportStream(memory);
  write();
  CloseReportFile();
  std::fclose(memory);
  std::string bytes(data, size);
  std::free(data);
  return Cp1251ToUtf8(bytes);
}

// How many times piece stands in text.
inline std::size_t Count(const std::string& text, const std::string& piece) {
  std::size_t n = 0;
  for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
  return n;
}

// The prologue of every document with the default settings, as UTF-8.
inline constexpr const char* kDefaultPrologue =
    "{\\rtf1\\ansi\\deff0\\deftab720"
    "\n{\\fonttbl{\\f0\\fnil MS Sans Serif;}{\\f1\\froman\\fcharset2 Symbol;}"
    "{\\f2\\froman\\fprq2\\fcharset204 Times New Roman Cyr;}"
    "{\\f3\\fmodern\\fprq1\\fcharset204 Courier New Cyr;}}"
    "\n{\\colortbl\\red0\\green0\\blue0;\n\\red255\\green0\\blue0;\n\\red112\\green0\\blue112;"
    "\n\\red128\\green0\\blue0;\n\\red128\\green128\\blue128;}"
    "\n\\deflang1049\\pard\\plain\\f2\\fs20\\cf0";

inline std::filesystem::path Fixture(const char* name) {
  return std::filesystem::path(VELMAR_TEST_DATA) / name;
}

}  // namespace velmar::testing
