#pragma once
// The reading window: the text of one of the day's readings, opened from the
// day pages (a double click on a reading, or «Читать» in their menu). Its
// heading is the reading as the day's document prints it; below it each
// piece of the reading in turn, with its own heading and its verses
// numbered, from one of the user's SWORD Bible modules (texts/scripture_text.h):
// the one chosen last time, else the Russian Synodal or a Church Slavonic
// one, else any other. The choice is remembered in Bible.ini beside
// Position.ini. Without any Bible module the window says which to install
// and how.

#include <QWidget>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "texts/day_readings.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTextBrowser;

namespace velmar {

class ScriptureLibrary;

class ReadingWindow : public QWidget {
  Q_OBJECT

 public:
  explicit ReadingWindow(QWidget* parent = nullptr);
  ~ReadingWindow() override;

  // Shows the text of a reading entry of a new-style date, reading the
  // installed modules afresh, and brings the window up.
  void ShowReading(const CivilDate& date, const ReadingEntry& entry);

  // The name of the Bible module shown, "" when none is installed.
  QString ShownBible() const;

  // The file that keeps the chosen module between runs.
  static std::string ChoiceFilePath();

  // Components.
  QLabel* DateLabel = nullptr;
  QLabel* Heading = nullptr;      // the entry as the document prints it
  QLabel* BibleLabel = nullptr;   // «Библия:»
  QComboBox* BibleBox = nullptr;  // the installed Bibles; data: the module's name
  QTextBrowser* Text = nullptr;
  QPushButton* CloseButton = nullptr;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BibleChosen();
  void ShowText();
  QString PassagesHtml(const std::string& module) const;

  std::unique_ptr<ScriptureLibrary> library_;
  ReadingEntry entry_;
  bool filling_ = false;
};

}  // namespace velmar
