// A program directory the user can't write (a system-wide install): the
// report file and Position.ini go to the user's state folder, and the
// settings come from the user's copy of Velmar32.ini.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/settings.h"
#include "platform/messages.h"
#include "platform/program_directory.h"
#include "texts/rtf_writer.h"

namespace velmar {
namespace {

namespace fs = std::filesystem;

class UserFoldersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("velmar_user_" + std::to_string(::getpid()));
    fs::create_directories(root_ / "opt");
    std::ofstream(root_ / "opt" / "Velmar32.ini", std::ios::binary) << "RTFSize=24\n";
    SetProgramDirectory((root_ / "opt").string());
    setenv("XDG_STATE_HOME", (root_ / "state").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
    ResetSettings();
  }
  void TearDown() override {
    SetProgramDirectoryWritable(std::nullopt);
    SetProgramDirectory(std::nullopt);
    unsetenv("XDG_STATE_HOME");
    unsetenv("XDG_CONFIG_HOME");
    ResetSettings();
    fs::remove_all(root_);
  }
  struct Window : SettingsWindow {
    int OuterWidth() const override { return 400; }
    int OuterHeight() const override { return 500; }
    int Left() const override { return 10; }
    int Top() const override { return 20; }
    void SetOuterWidth(int) override {}
    void SetOuterHeight(int) override {}
    void SetLeft(int) override {}
    void SetTop(int) override {}
    void SelectPage(Page) override {}
  } window_;
  fs::path root_;
};

TEST_F(UserFoldersTest, WritableProgramDirectoryChangesNothing) {
  SetProgramDirectoryWritable(true);
  EXPECT_EQ(ReportFilePath(), (root_ / "opt" / "velmar32.tmp").string());
  SaveWindowPosition(window_);
  EXPECT_TRUE(fs::exists(root_ / "opt" / "Position.ini"));
  LoadSettings(window_);
  EXPECT_EQ(AppSettings.rtfSize, 24);
  EXPECT_FALSE(fs::exists(root_ / "state"));
  EXPECT_FALSE(fs::exists(root_ / "config"));
}

TEST_F(UserFoldersTest, ReadOnlyInstallUsesTheUsersFolders) {
  SetProgramDirectoryWritable(false);
  EXPECT_EQ(ReportFilePath(), (root_ / "state" / "velmar32" / "velmar32.tmp").string());
  ASSERT_TRUE(OpenReportFile());
  ReportWrite("{\\rtf1}");
  ASSERT_TRUE(CloseReportFile());
  EXPECT_TRUE(fs::exists(root_ / "state" / "velmar32" / "velmar32.tmp"));
  SaveWindowPosition(window_);
  EXPECT_TRUE(fs::exists(root_ / "state" / "velmar32" / "Position.ini"));
  EXPECT_FALSE(fs::exists(root_ / "opt" / "Position.ini"));

  // The settings: a copy of the shipped file, made once, then the user's own.
  const fs::path copy = root_ / "config" / "velmar32" / "Velmar32.ini";
  EXPECT_EQ(SettingsFilePath(), copy.string());
  LoadSettings(window_);
  EXPECT_EQ(AppSettings.rtfSize, 24);
  std::ofstream(copy, std::ios::binary) << "RTFSize=30\n";
  LoadSettings(window_);
  EXPECT_EQ(AppSettings.rtfSize, 30);
}

TEST_F(UserFoldersTest, UnusableStateFolderIsReported) {
  SetProgramDirectoryWritable(false);
  std::ofstream(root_ / "state") << "a file, not a folder";
  RecordingMessageSink messages;
  EXPECT_FALSE(OpenReportFile());
  SaveWindowPosition(window_);
  EXPECT_EQ(messages.texts, (std::vector<std::string>{"Cannot open temporary output file.",
                                                      "Cannot open output file Position.ini."}));
}

}  // namespace
}  // namespace velmar
