#include "app/settings.h"

#include <unistd.h>

#include <array>
#include <cstdio>
#include <string>

#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/program_directory.h"
#include "texts/line_reader.h"

namespace velmar {

Settings AppSettings;

namespace {

constexpr std::size_t kReadChars = 1023;  // a read takes at most 1023 characters
constexpr std::string_view kBadLine = "Error in Velmar32.ini file";

enum class Key { WeekStyle, ActivePage, MainFont, SysFont, RTFFont, RTFSize, AgiosLine,
                 Menologion, MenologGray, WindowsNT, Fasting, ReadingsForm, Readings };

struct KeyInfo {
  std::string_view name;
  Key key;
  std::size_t longestValue;
};

// In the order the keys are tried; only the start of a line is compared.
constexpr std::array<KeyInfo, 13> kKeys = {{
    {"WeekStyle", Key::WeekStyle, 9},
    {"ActivePage", Key::ActivePage, 9},
    {"MainFont", Key::MainFont, 60},
    {"SysFont", Key::SysFont, 60},
    {"RTFFont", Key::RTFFont, 60},
    {"RTFSize", Key::RTFSize, 4},
    {"AgiosLine", Key::AgiosLine, 4},
    {"Menologion", Key::Menologion, 9},
    {"MenologGray", Key::MenologGray, 9},
    {"WindowsNT", Key::WindowsNT, 4},
    {"Fasting", Key::Fasting, 4},
    {"ReadingsForm", Key::ReadingsForm, 9},  // before Readings, which starts it
    {"Readings", Key::Readings, 4},
}};

bool SkippedLine(const std::string& line) {
  return line.empty() || line[0] == '\n' || line[0] == ' ' || line[0] == ';';
}

void Apply(Key key, const std::string& value, SettingsWindow& window) {
  switch (key) {
    case Key::WeekStyle:
      if (value == "Church") AppSettings.startOfWeek = 7;
      break;
    case Key::ActivePage:
      window.SelectPage(Page::Today);
      if (value == "Tomorrow") window.SelectPage(Page::Tomorrow);
      else if (value == "Calendar") window.SelectPage(Page::Calendar);
      else if (value == "Easter") window.SelectPage(Page::Easter);
      else if (value == "Search") window.SelectPage(Page::Search);
      break;
    case Key::MainFont: AppSettings.mainFont = value; break;
    case Key::SysFont: AppSettings.sysFont = value; break;
    case Key::RTFFont: AppSettings.rtfFont = value; break;
    case Key::RTFSize: AppSettings.rtfSize = static_cast<int>(LeadingInteger(value)); break;
    case Key::AgiosLine: AppSettings.agiosLine = value; break;
    case Key::Menologion: AppSettings.menologion = value; break;
    case Key::MenologGray: AppSettings.menologGray = value != "No"; break;
    case Key::WindowsNT: AppSettings.windowsNT = value != "No"; break;
    case Key::Fasting: AppSettings.fasting = value != "No"; break;
    case Key::ReadingsForm: AppSettings.readingsShort = value == "Short"; break;
    case Key::Readings: AppSettings.readings = value != "No"; break;
  }
}

}  // namespace

void ResetSettings() { AppSettings = Settings{}; }

std::string_view SettingsKeyOfLine(std::string_view line) {
  if (line.empty() || line[0] == '\n' || line[0] == ' ' || line[0] == ';') return {};
  for (const KeyInfo& info : kKeys)
    if (line.substr(0, info.name.size()) == info.name) return info.name;
  return {};
}

void LoadSettings(SettingsWindow& window) {
  TextFileReader file;
  if (!file.Open(SettingsFilePath())) {
    ShowMessage("Cannot open Velmar32.ini file.");
    return;
  }
  std::string line;
  while (file.ReadLine(line, kReadChars)) {
    if (SkippedLine(line)) continue;
    TrimLineEnd(line);
    const KeyInfo* found = nullptr;
    for (const KeyInfo& info : kKeys) {
      if (line.compare(0, info.name.size(), info.name) == 0) {
        found = &info;
        break;
      }
    }
    if (found == nullptr) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos || line.size() - equals - 1 > found->longestValue) {
      ShowMessage(kBadLine);
      continue;
    }
    Apply(found->key, line.substr(equals + 1), window);
  }
}

void LoadSettings() {
  struct NoWindow : SettingsWindow {
    int OuterWidth() const override { return 0; }
    int OuterHeight() const override { return 0; }
    int Left() const override { return 0; }
    int Top() const override { return 0; }
    void SetOuterWidth(int) override {}
    void SetOuterHeight(int) override {}
    void SetLeft(int) override {}
    void SetTop(int) override {}
    void SelectPage(Page) override {}
  } window;
  LoadSettings(window);
}

void LoadWindowPosition(SettingsWindow& window) {
  TextFileReader file;
  if (!file.Open(WritableFilesDirectory() + "Position.ini")) return;
  struct Bound {
    std::string_view name;
    long low, high;
    void (SettingsWindow::*set)(int);
  };
  static constexpr std::array<Bound, 4> kBounds = {{
      {"Width", 1, 1999, &SettingsWindow::SetOuterWidth},
      {"Height", 1, 1023, &SettingsWindow::SetOuterHeight},
      {"Left", -1023, 1999, &SettingsWindow::SetLeft},
      {"Top", -63, 1023, &SettingsWindow::SetTop},
  }};
  std::string line;
  while (file.ReadLine(line, kReadChars)) {
    if (SkippedLine(line)) continue;
    const Bound* found = nullptr;
    for (const Bound& bound : kBounds) {
      if (line.compare(0, bound.name.size(), bound.name) == 0) {
        found = &bound;
        break;
      }
    }
    if (found == nullptr) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) {
      ShowMessage(kBadLine);
      continue;
    }
    const long value = LeadingInteger(std::string_view(line).substr(equals + 1));
    if (value < found->low || value > found->high) {
      ShowMessage(kBadLine);
      continue;
    }
    (window.*(found->set))(static_cast<int>(value));
  }
}

void SaveWindowPosition(const SettingsWindow& window) {
  const std::string target = WritableFilesDirectory() + "Position.ini";
  const std::string temporary = target + ".new";
  std::FILE* f = std::fopen(temporary.c_str(), "wb");
  if (f == nullptr) {
    ShowMessage("Cannot open output file Position.ini.");
    return;
  }
  const CivilDate today = Today();
  const std::string version(ProgramVersion), build(ProgramBuild);
  std::fprintf(f, "\n;Position.ini for Velmar32.exe ver.%s %s, %d-%d-%d", version.c_str(),
               build.c_str(), today.day, today.month, today.year);
  std::fprintf(f, "\n");
  std::fprintf(f, "\n;Automatically preserved position");
  std::fprintf(f, "\nWidth=%d", window.OuterWidth());
  std::fprintf(f, "\nHeight=%d", window.OuterHeight());
  std::fprintf(f, "\nLeft=%d", window.Left());
  std::fprintf(f, "\nTop=%d", window.Top());
  std::fprintf(f, "\n");
  bool ok = std::fflush(f) == 0 && fsync(fileno(f)) == 0;
  ok = (std::fclose(f) == 0) && ok;
  if (!ok || std::rename(temporary.c_str(), target.c_str()) != 0) {
    std::remove(temporary.c_str());
    ShowMessage("Cannot open output file Position.ini.");
  }
}

}  // namespace velmar
