#include "app/settings_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "calendar/cp1251.h"
#include "platform/messages.h"
#include "platform/program_directory.h"

namespace velmar {
namespace {

std::string Read(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(SettingsWriter, ChangesOnlyTheValuesOfTheLinesTheProgramReads) {
  const std::string text =
      "; comment RTFSize=10\r\n"
      "\r\n"
      "WeekStyle=Church\r\n"
      "RTFSize = 20   \r\n"          // what stands before "=" is kept
      " RTFSize=30\r\n"              // a line starting with a blank is no key line
      ";RTFSize=40\r\n"
      "ReadingsForm=Full\r\n"        // not Readings, which starts it
      "Readings=Yes\r\n"
      "MenologGrayish=Yes\r\n"       // read as MenologGray
      "Unknown=1\r\n"
      "RTFSize=22\r\n"               // the last line wins on reading: changed too
      "AgiosLine\r\n";               // no "=": it gets one
  const std::string out = RewriteSettingsText(
      text, {{"RTFSize", "24"}, {"Readings", "No"}, {"MenologGray", "No"}, {"AgiosLine", "No"}, {"Fasting", "No"}});
  EXPECT_EQ(out,
            "; comment RTFSize=10\r\n"
            "\r\n"
            "WeekStyle=Church\r\n"
            "RTFSize =24\r\n"
            " RTFSize=30\r\n"
            ";RTFSize=40\r\n"
            "ReadingsForm=Full\r\n"
            "Readings=No\r\n"
            "MenologGrayish=No\r\n"
            "Unknown=1\r\n"
            "RTFSize=24\r\n"
            "AgiosLine=No\r\n"
            "Fasting=No\r\n");  // set by no line: added at the end, in the file's line ends
  // Unix line ends, no line end at the very end, and no changes.
  EXPECT_EQ(RewriteSettingsText("A=1\nRTFSize=20", {{"RTFSize", "30"}, {"WindowsNT", "No"}}),
            "A=1\nRTFSize=30\nWindowsNT=No\n");
  EXPECT_EQ(RewriteSettingsText("A=1\nB", {{"WindowsNT", "No"}}), "A=1\nB\nWindowsNT=No\n");
  EXPECT_EQ(RewriteSettingsText(text, {}), text);
  EXPECT_EQ(Cp1251ToUtf8(RewriteSettingsText("", {{"RTFSize", "24"}})),
            "; Velmar32.ini — настройки программы «Днесловник».\nRTFSize=24\n");
}

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("velmar_settings_writer_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    SetProgramDirectory(dir_.string());
    ResetSettings();
  }
  void TearDown() override {
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all);
    SetProgramDirectory(std::nullopt);
    ResetSettings();
    std::filesystem::remove_all(dir_);
  }
  std::filesystem::path Ini() const { return dir_ / "Velmar32.ini"; }
  std::vector<std::string> Leftovers() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir_))
      if (e.path().filename().string().rfind(".Velmar32.ini.", 0) == 0) names.push_back(e.path().filename());
    return names;
  }
  std::filesystem::path dir_;
  RecordingMessageSink messages_;
};

TEST_F(SettingsFileTest, WrittenFileReadsBackWithItsPermissionsAndLink) {
  std::ofstream(Ini(), std::ios::binary) << "; mine\r\nRTFSize=20\r\nSysFont=Arial Cyr\r\n";
  ::chmod(Ini().c_str(), 0640);
  std::filesystem::create_symlink(Ini(), dir_ / "link.ini");
  EXPECT_EQ(WriteSettingsFile((dir_ / "link.ini").string(), {{"RTFSize", "28"}, {"AgiosLine", "No"}}), "");
  EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "link.ini"));  // the file it names was written
  EXPECT_EQ(Read(Ini()), "; mine\r\nRTFSize=28\r\nSysFont=Arial Cyr\r\nAgiosLine=No\r\n");
  struct stat info {};
  ASSERT_EQ(::stat(Ini().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_TRUE(Leftovers().empty());
  LoadSettings();
  EXPECT_EQ(AppSettings.rtfSize, 28);
  EXPECT_EQ(AppSettings.agiosLine, "No");
  EXPECT_TRUE(messages_.texts.empty());
  // A missing file is made, readable by others as usual.
  std::filesystem::remove(Ini());
  EXPECT_EQ(WriteSettingsFile(Ini().string(), {{"Fasting", "No"}}), "");
  EXPECT_NE(Read(Ini()).find("\nFasting=No\n"), std::string::npos);
}

TEST_F(SettingsFileTest, AFileThatCannotBeWrittenIsSaidAndLeftAlone) {
  // A folder where the file should be, a file where its folder should be.
  std::filesystem::create_directory(Ini());
  const std::string folder = Cp1251ToUtf8(WriteSettingsFile(Ini().string(), {{"RTFSize", "28"}}));
  EXPECT_EQ(folder.rfind("Не удалось записать файл настроек «" + Ini().string() + "»: ", 0), 0u) << folder;
  EXPECT_TRUE(std::filesystem::is_directory(Ini()));
  std::filesystem::remove(Ini());
  std::ofstream(dir_ / "plain", std::ios::binary) << "x";
  const std::string inside = Cp1251ToUtf8(WriteSettingsFile((dir_ / "plain" / "Velmar32.ini").string(), {{"RTFSize", "28"}}));
  EXPECT_NE(inside.find("нет такой папки"), std::string::npos) << inside;
  EXPECT_TRUE(Leftovers().empty());

  if (::geteuid() == 0) GTEST_SKIP() << "root writes everywhere: the rest needs another user";
  std::ofstream(Ini(), std::ios::binary) << "RTFSize=20\n";
  ::chmod(Ini().c_str(), 0444);
  const std::string said = Cp1251ToUtf8(WriteSettingsFile(Ini().string(), {{"RTFSize", "28"}}));
  EXPECT_EQ(said, "Не удалось записать файл настроек «" + Ini().string() + "»: нет прав на запись.");
  EXPECT_EQ(Read(Ini()), "RTFSize=20\n");
  ::chmod(Ini().c_str(), 0644);
  std::filesystem::permissions(dir_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  EXPECT_NE(WriteSettingsFile(Ini().string(), {{"RTFSize", "28"}}), "");  // a folder it can't write into
  EXPECT_EQ(Read(Ini()), "RTFSize=20\n");
  EXPECT_TRUE(Leftovers().empty());
}

TEST(EditableSettings, ChangesNameOnlyWhatDiffersAndTheMenologionKeepsItsOtherClasses) {
  Settings s;
  s.menologion = "qqq";
  EditableSettings e = EditableFrom(s);
  EXPECT_FALSE(e.icons);
  EXPECT_TRUE(ChangesFor(s, e).empty());
  e.icons = true;
  e.readingsShort = true;
  e.rtfSize = 24;
  EXPECT_EQ(ChangesFor(s, e),
            (std::vector<SettingChange>{{"Menologion", "qi"}, {"ReadingsForm", "Short"}, {"RTFSize", "24"}}));
  ApplyEditable(s, e);
  EXPECT_EQ(s.menologion, "qi");
  EXPECT_TRUE(s.readingsShort);
  EXPECT_EQ(EditableFrom(s), e);
  e.icons = false;
  e.signs = false;
  EXPECT_EQ(ChangesFor(s, e), (std::vector<SettingChange>{{"AgiosLine", "No"}, {"Menologion", "q"}}));
  ApplyEditable(s, e);
  EXPECT_EQ(s.menologion, "q");
  EXPECT_EQ(s.agiosLine, "No");
  s.agiosLine = "Да";  // any text but "No" is on, and stays as written
  e = EditableFrom(s);
  ApplyEditable(s, e);
  EXPECT_EQ(s.agiosLine, "Да");
  s.menologion = "abcdefghj";  // nine classes: one gives way to the icons
  e.icons = true;
  EXPECT_EQ(ChangesFor(s, e).front(), (SettingChange{"Menologion", "bcdefghji"}));
}

}  // namespace
}  // namespace velmar
