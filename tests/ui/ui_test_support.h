#pragma once
// What the form tests share: a temporary program directory laid out like the
// shipped one (Velmar32.ini, dbase/, docs/), a fixed clock, a temporary XDG
// config folder for the autostart entry, a recorder of messages and of what
// is handed to the desktop shell.

#include <QCoreApplication>
#include <QTimer>
#include <QUrl>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/settings.h"
#include "calendar/cp1251.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/program_directory.h"
#include "widgets/shell.h"

namespace velmar::testing {

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs the event loop until something ends it or the time is up; true when
// the program asked to end (QCoreApplication::exit).
inline bool ProgramEnds(int milliseconds = 1000) {
  QTimer timeUp;
  timeUp.setSingleShot(true);
  QObject::connect(&timeUp, &QTimer::timeout, [] { QCoreApplication::exit(1); });
  timeUp.start(milliseconds);
  return QCoreApplication::exec() == 0;
}

class Workspace {
 public:
  explicit Workspace(CivilDate today) {
    static int counter = 0;
    root_ = std::filesystem::temp_directory_path() /
            ("velmar_ui_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
    std::filesystem::remove_all(root_);
    const std::filesystem::path data = std::filesystem::path(VELMAR_SOURCE_DIR) / "data";
    std::filesystem::create_directories(program());
    std::filesystem::copy_file(data / "Velmar32.ini", program() / "Velmar32.ini");
    std::filesystem::copy(data / "dbase", program() / "dbase", std::filesystem::copy_options::recursive);
    std::filesystem::copy(data / "docs", program() / "docs", std::filesystem::copy_options::recursive);
    std::filesystem::create_directories(config());
    SetProgramDirectory(program().string());
    SetFixedToday(today);
    ResetSettings();
    previousConfig_ = Env("XDG_CONFIG_HOME");
    setenv("XDG_CONFIG_HOME", config().c_str(), 1);
    previousOpener_ = Shell::SetOpener([this](const QUrl& url) {
      opened.push_back(url);
      return openerAnswer;
    });
  }
  ~Workspace() {
    Shell::SetOpener(previousOpener_);
    if (previousConfig_) {
      setenv("XDG_CONFIG_HOME", previousConfig_->c_str(), 1);
    } else {
      unsetenv("XDG_CONFIG_HOME");
    }
    SetProgramDirectory(std::nullopt);
    SetFixedToday(std::nullopt);
    ResetSettings();
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  std::filesystem::path program() const { return root_ / "prog"; }
  std::filesystem::path config() const { return root_ / "config"; }
  std::filesystem::path autostartEntry() const { return config() / "autostart" / "velmar32.desktop"; }

  // Messages shown, as UTF-8.
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const std::string& text : recorder.texts) texts.push_back(Cp1251ToUtf8(text));
    return texts;
  }

  RecordingMessageSink recorder;
  std::vector<QUrl> opened;   // what the shell handed to the desktop
  bool openerAnswer = true;   // whether the desktop took it

 private:
  static std::optional<std::string> Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
  }

  std::filesystem::path root_;
  std::optional<std::string> previousConfig_;
  Shell::Opener previousOpener_;
};

}  // namespace velmar::testing
