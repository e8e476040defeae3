#include "app/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/program_directory.h"
#include "texts/rtf_writer.h"

namespace velmar {
namespace {

const std::string kBad = "Error in Velmar32.ini file";

struct FakeWindow : SettingsWindow {
  int width = 371, height = 450, left = 284, top = 140;
  std::vector<Page> pages;
  int OuterWidth() const override { return width; }
  int OuterHeight() const override { return height; }
  int Left() const override { return left; }
  int Top() const override { return top; }
  void SetOuterWidth(int v) override { width = v; }
  void SetOuterHeight(int v) override { height = v; }
  void SetLeft(int v) override { left = v; }
  void SetTop(int v) override { top = v; }
  void SelectPage(Page p) override { pages.push_back(p); }
};

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("velmar_settings_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    SetProgramDirectory(dir_.string());
    ResetSettings();
  }
  void TearDown() override {
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all);
    std::filesystem::remove_all(dir_);
    SetProgramDirectory(std::nullopt);
    SetFixedToday(std::nullopt);
    ResetSettings();
  }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }
  std::string ReadBack(const std::string& name) {
    std::ifstream in(dir_ / name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // Loads Velmar32.ini with the given bytes; returns the messages shown.
  std::vector<std::string> LoadIni(const std::string& bytes) {
    Write("Velmar32.ini", bytes);
    RecordingMessageSink sink;
    LoadSettings(window_);
    return sink.texts;
  }

  std::filesystem::path dir_;
  FakeWindow window_;
};

TEST_F(SettingsTest, MissingFileKeepsDefaults) {
  RecordingMessageSink sink;
  LoadSettings(window_);
  EXPECT_EQ(sink.texts, std::vector<std::string>{"Cannot open Velmar32.ini file."});
  EXPECT_EQ(AppSettings.rtfSize, 20);
  EXPECT_EQ(AppSettings.rtfFont, "Times New Roman Cyr");
  EXPECT_TRUE(window_.pages.empty());
}

TEST_F(SettingsTest, ValuesAreTakenAsWritten) {
  const auto messages = LoadIni(
      "; comment\r\n"
      "\r\n"
      "MainFont=Courier New Cyr   \r\n"
      "SysFont = Arial\r\n"
      "  RTFFont=Ignored\r\n"
      "Unknown=1\r\n"
      "RTFFontFace=Arial Cyr\r\n"
      "AgiosLine=No\r\n"
      "Menologion=aq\r\n"
      "WeekStyle=Church\r\n"
      "RTFSize=1a\n");
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(AppSettings.mainFont, "Courier New Cyr");
  EXPECT_EQ(AppSettings.sysFont, " Arial");
  EXPECT_EQ(AppSettings.rtfFont, "Arial Cyr");  // the start of the line is the key
  EXPECT_EQ(AppSettings.agiosLine, "No");
  EXPECT_EQ(AppSettings.menologion, "aq");
  EXPECT_EQ(AppSettings.startOfWeek, 7);
  EXPECT_EQ(AppSettings.rtfSize, 1);
}

TEST_F(SettingsTest, ExactValuesOnly) {
  LoadIni("WeekStyle=church\nMenologGray=no\nWindowsNT=\n");
  EXPECT_EQ(AppSettings.startOfWeek, 1);
  LoadIni("WeekStyle=Church\n");
  EXPECT_EQ(AppSettings.startOfWeek, 7);
  EXPECT_TRUE(window_.pages.empty());  // only ActivePage chooses a page
  EXPECT_TRUE(AppSettings.menologGray);
  EXPECT_TRUE(AppSettings.windowsNT);
  LoadIni("MenologGray=No\nWindowsNT=No\nRTFSize=-1\n");
  EXPECT_FALSE(AppSettings.menologGray);
  EXPECT_FALSE(AppSettings.windowsNT);
  EXPECT_EQ(AppSettings.rtfSize, -1);
}

TEST_F(SettingsTest, BadLinesGiveOneMessageEachAndAreIgnored) {
  const std::string font60(60, 'F'), font61(61, 'G');
  const auto messages = LoadIni("RTFSize=12345\nMainFont\nMainFont=" + font61 +
                                "\nSysFont=" + font60 + "\nAgiosLine=Never\n");
  EXPECT_EQ(messages, (std::vector<std::string>{kBad, kBad, kBad, kBad}));
  EXPECT_EQ(AppSettings.rtfSize, 20);
  EXPECT_EQ(AppSettings.mainFont, "Times New Roman Cyr");
  EXPECT_EQ(AppSettings.sysFont, font60);
  EXPECT_EQ(AppSettings.agiosLine, "Yes");
}

// Each key's longest value is taken; one character more is refused with the
// message and leaves the setting as it was.
TEST_F(SettingsTest, EveryKeyAtAndBeyondItsLimit) {
  struct Row { const char* key; std::size_t longest; };
  const Row rows[] = {{"WeekStyle", 9}, {"ActivePage", 9}, {"MainFont", 60}, {"SysFont", 60},
                      {"RTFFont", 60},  {"RTFSize", 4},    {"AgiosLine", 4}, {"Menologion", 9},
                      {"MenologGray", 9}, {"WindowsNT", 4}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.key);
    ResetSettings();
    EXPECT_TRUE(LoadIni(std::string(r.key) + "=" + std::string(r.longest, '1') + "\r\n").empty());
    EXPECT_EQ(LoadIni(std::string(r.key) + "=" + std::string(r.longest + 1, '2') + "\r\n"),
              std::vector<std::string>{kBad});
    // A value of blanks only is trimmed away: an empty value is within every limit.
    EXPECT_TRUE(LoadIni(std::string(r.key) + "=" + std::string(r.longest + 5, ' ') + "\n").empty());
  }
  ResetSettings();
  LoadIni("MainFont=" + std::string(60, 'm') + "\nSysFont=" + std::string(60, 's') + "\nRTFFont=" +
          std::string(60, 'r') + "\nAgiosLine=Nope\nMenologion=abcdefghi\nRTFSize=-999\n");
  EXPECT_EQ(AppSettings.mainFont, std::string(60, 'm'));
  EXPECT_EQ(AppSettings.sysFont, std::string(60, 's'));
  EXPECT_EQ(AppSettings.rtfFont, std::string(60, 'r'));
  EXPECT_EQ(AppSettings.agiosLine, "Nope");
  EXPECT_EQ(AppSettings.menologion, "abcdefghi");
  EXPECT_EQ(AppSettings.rtfSize, -999);
  LoadIni("Menologion=abcdefghij\nRTFSize=12345\nAgiosLine=Never\nRTFFont=" + std::string(61, 'x') + "\n");
  EXPECT_EQ(AppSettings.menologion, "abcdefghi");
  EXPECT_EQ(AppSettings.rtfSize, -999);
  EXPECT_EQ(AppSettings.agiosLine, "Nope");
  EXPECT_EQ(AppSettings.rtfFont, std::string(60, 'r'));
}

// Lines are read in pieces of 1023 characters: text at character 1024 of a
// long line starts a line of its own, and is read as one.
TEST_F(SettingsTest, LongLinesAreReadInPiecesOf1023Characters) {
  EXPECT_TRUE(LoadIni(";" + std::string(1022, 'x') + "WindowsNT=No\n" +
                      std::string(1021, 'y') + "MenologGray=No\n").empty());
  EXPECT_FALSE(AppSettings.windowsNT);   // its own piece
  EXPECT_TRUE(AppSettings.menologGray);  // split as "M" and "enologGray=No"
  Write("Position.ini", "\n;" + std::string(1022, 'p') + "Width=777\n" + std::string(1022, 'h') +
                            "Height=300\n");
  RecordingMessageSink sink;
  LoadWindowPosition(window_);
  EXPECT_TRUE(sink.texts.empty());
  EXPECT_EQ(window_.width, 777);
  EXPECT_EQ(window_.height, 450);  // split as "H" and "eight=300"
}

// Only a line feed, a blank or ";" at the start makes a line skipped; a tab
// doesn't, and a line that starts with a tab names no key.
TEST_F(SettingsTest, ATabAtTheStartOfALine) {
  EXPECT_TRUE(LoadIni("\tMainFont=Tabbed\n\tRTFSize\n").empty());
  EXPECT_EQ(AppSettings.mainFont, "Times New Roman Cyr");
  Write("Position.ini", "\tWidth=600\n\tTop\n");
  RecordingMessageSink sink;
  LoadWindowPosition(window_);
  EXPECT_TRUE(sink.texts.empty());
  EXPECT_EQ(window_.width, 371);
}

// Signs are off only for the exact value "No", after the line end is trimmed.
TEST_F(SettingsTest, AgiosLineIsComparedExactly) {
  struct Row { const char* line; const char* stored; bool signs; };
  const Row rows[] = {{"AgiosLine=No\r\n", "No", false},   {"AgiosLine=No   \n", "No", false},
                      {"AgiosLine=no\n", "no", true},      {"AgiosLine=NO\n", "NO", true},
                      {"AgiosLine= No\n", " No", true},    {"AgiosLine=No.\n", "No.", true},
                      {"AgiosLine=N\n", "N", true},        {"AgiosLine=\n", "", true},
                      {"AgiosLine=Yes\n", "Yes", true},    {"AgiosLineNo=No\n", "No", false}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.line);
    ResetSettings();
    EXPECT_TRUE(LoadIni(r.line).empty());
    EXPECT_EQ(AppSettings.agiosLine, r.stored);
    EXPECT_EQ(SignsOn(), r.signs);
  }
}

TEST_F(SettingsTest, ActivePageFirstSelectsTodayThenTheNamedPage) {
  LoadIni("ActivePage=Calendar\nActivePage=calendar\nActivePage=Search\n");
  EXPECT_EQ(window_.pages, (std::vector<Page>{Page::Today, Page::Calendar, Page::Today,
                                              Page::Today, Page::Search}));
}

TEST_F(SettingsTest, GarbledAndHugeFilesAreSurvived) {
  std::string garbage;
  for (int i = 0; i < 10000; ++i) garbage += "MainFont=" + std::to_string(i) + "\n";
  garbage += std::string(5000, 'W') + "\n";       // a long line read in pieces
  garbage += std::string("RTF\0Size=9\n", 11);    // a NUL byte
  garbage += "\xFF\xFE\x98\n";
  const auto messages = LoadIni(garbage);
  EXPECT_EQ(AppSettings.mainFont, "9999");
  EXPECT_EQ(AppSettings.rtfSize, 20);
  // The 5000-character line starts with "W" pieces; "WeekStyle" doesn't match.
  EXPECT_TRUE(messages.empty());
}

TEST_F(SettingsTest, WindowPositionLimits) {
  Write("Position.ini",
        "\n;comment\nWidth=0\nWidth=2000\nWidth=600\nHeight=1023\nLeft=-1024\n"
        "Left=-1023\nTop=-64\nTop=-63\nTop\nWidthwise=500\n Height=5\n");
  RecordingMessageSink sink;
  LoadWindowPosition(window_);
  EXPECT_EQ(sink.texts, (std::vector<std::string>{kBad, kBad, kBad, kBad, kBad}));
  EXPECT_EQ(window_.width, 500);
  EXPECT_EQ(window_.height, 1023);
  EXPECT_EQ(window_.left, -1023);
  EXPECT_EQ(window_.top, -63);
}

TEST_F(SettingsTest, WindowPositionAtAndBeyondEveryLimit) {
  struct Row { const char* line; bool accepted; };
  const Row rows[] = {
      {"Width=1", true},     {"Width=1999", true},  {"Width=0", false},   {"Width=2000", false},
      {"Height=1", true},    {"Height=1023", true}, {"Height=0", false},  {"Height=1024", false},
      {"Left=-1023", true},  {"Left=1999", true},   {"Left=-1024", false}, {"Left=2000", false},
      {"Top=-63", true},     {"Top=1023", true},    {"Top=-64", false},   {"Top=1024", false},
      {"Width=99999999999999999999", false}, {"Top=-99999999999999999999", false},
      {"Width=", false},     {"Height=abc", false}, {"Left=+5\r", true},  {"Top= 7", true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.line);
    Write("Position.ini", std::string(r.line) + "\n");
    FakeWindow window;
    RecordingMessageSink sink;
    LoadWindowPosition(window);
    EXPECT_EQ(sink.texts.empty(), r.accepted);
  }
}

TEST_F(SettingsTest, MissingPositionFileIsSilent) {
  RecordingMessageSink sink;
  LoadWindowPosition(window_);
  EXPECT_TRUE(sink.texts.empty());
  EXPECT_EQ(window_.width, 371);
}

TEST_F(SettingsTest, PositionFileIsWrittenAndReadBack) {
  SetFixedToday(CivilDate{7, 1, 2003});
  window_.width = 640;
  window_.height = 480;
  window_.left = -5;
  window_.top = 12;
  SaveWindowPosition(window_);
  EXPECT_EQ(ReadBack("Position.ini"),
            "\n;Position.ini for Velmar32.exe ver.2.0 pre-release 278, 7-1-2003\n"
            "\n;Automatically preserved position\nWidth=640\nHeight=480\nLeft=-5\nTop=12\n");
  FakeWindow other;
  RecordingMessageSink sink;
  LoadWindowPosition(other);
  EXPECT_TRUE(sink.texts.empty());
  EXPECT_EQ(other.width, 640);
  EXPECT_EQ(other.left, -5);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "Position.ini.new"));
}

// Every save closes its file: a program that saves its position again and
// again keeps no descriptor open.
TEST_F(SettingsTest, SavingThePositionLeavesNoFileOpen) {
  const auto openFiles = [] {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), std::filesystem::directory_iterator());
  };
  SaveWindowPosition(window_);
  const auto before = openFiles();
  for (int i = 0; i < 5; ++i) SaveWindowPosition(window_);
  EXPECT_EQ(openFiles(), before);
}

TEST_F(SettingsTest, UnwritableFoldersKeepTheOldPositionFile) {
  // A read-only program directory whose fallback state folder can't be made.
  Write("Position.ini", "Width=555\n");
  Write("not-a-folder", "x");
  SetProgramDirectoryWritable(false);
  setenv("XDG_STATE_HOME", (dir_ / "not-a-folder").c_str(), 1);
  RecordingMessageSink sink;
  SaveWindowPosition(window_);
  SetProgramDirectoryWritable(std::nullopt);
  unsetenv("XDG_STATE_HOME");
  EXPECT_EQ(sink.texts, std::vector<std::string>{"Cannot open output file Position.ini."});
  EXPECT_EQ(ReadBack("Position.ini"), "Width=555\n");
}

TEST_F(SettingsTest, PositionFileThatIsAFolderIsReported) {
  std::filesystem::create_directories(dir_ / "Position.ini" / "x");
  RecordingMessageSink sink;
  SaveWindowPosition(window_);
  EXPECT_EQ(sink.texts, std::vector<std::string>{"Cannot open output file Position.ini."});
  EXPECT_TRUE(std::filesystem::is_directory(dir_ / "Position.ini"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "Position.ini.new"));
}

}  // namespace
}  // namespace velmar
