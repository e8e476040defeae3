#pragma once
// TForm2, the report viewer: one non-modal window that shows the latest
// report (period calendar, Paschalion table or menologion search) from the
// report file, and lets the user select and copy, save as RTF, print, switch
// editing on and close it. Created once, hidden between reports; its size,
// place, the editing switch and the dialogs' last choices persist.
//
// A big report shows its top at once and loads the rest while it is shown
// (RichEdit): the status bar shows how far (ProgressBar1), and a newer
// report stops it. Select all, editing and word wrap work at once; saving,
// printing and copying what Select all selected wait for the load to end,
// with its progress shown.

#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "reports/forms/report_export.h"
#include "reports/period_calendar.h"

class QAction;
class QCloseEvent;
class QProgressBar;
class QFileDialog;
class QMenu;
class QMenuBar;
class QPrinter;
class QResizeEvent;
class QStatusBar;

namespace velmar {

class FindBar;
class RichEdit;

// The name a save writes to: the chosen path with ".rtf" appended when its
// file name has no extension ("report" -> "report.rtf", "report." ->
// "report.rtf"); any other path unchanged.
QString WithDefaultRtfSuffix(const QString& path);

class TForm2 : public QMainWindow {
  Q_OBJECT

 public:
  // mainCaption gives the main window's current caption, the title of print
  // jobs; without it the application's display name is used.
  explicit TForm2(std::function<QString()> mainCaption = {}, QWidget* parent = nullptr);
  ~TForm2() override;

  void SetMainCaptionSource(std::function<QString()> mainCaption);

  // Shows the report file: clears the text, sets word wrap (on for the
  // period calendar and the search, off for the Paschalion table), loads the
  // file (twice when AppSettings.windowsNT: the second load of a file that
  // hasn't changed keeps what the first one shows), and shows the window
  // without blocking, raising it when it is already shown. A file that
  // can't be shown (unreadable, too big for the viewer, more than memory
  // holds) gets a message instead, and the window is hidden.
  void ShowReport(bool wordWrap);

  // The period of the period calendar shown, for its iCalendar file; the
  // other reports set none. Set by the report commands before ShowReport.
  void SetReportPeriod(std::optional<Period> period) { period_ = period; }
  const std::optional<Period>& ReportPeriod() const { return period_; }

  // Saves the whole text as RTF to path (".rtf" added when the name has no
  // extension), replacing an existing file. On failure shows a message and
  // leaves an existing file as it was. Returns whether it saved.
  bool SaveReportAs(const QString& path);
  // The same for a type of file (its suffix added when the name has none);
  // iCalendar only for a period calendar.
  bool SaveReportAs(const QString& path, ReportFileType type);

  // Title of print jobs: the main window's current caption.
  QString PrintJobTitle() const;

  // Components.
  RichEdit* RichEdit1 = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QAction *N1 = nullptr, *N2 = nullptr, *N3 = nullptr, *N4 = nullptr;
  QMenuBar* MainMenu1 = nullptr;
  QMenu *N5 = nullptr, *N6 = nullptr;
  QAction *N8 = nullptr, *N9 = nullptr, *N10 = nullptr, *N7 = nullptr;
  QAction *N11 = nullptr, *N12 = nullptr, *N13 = nullptr, *N14 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  QProgressBar* ProgressBar1 = nullptr;  // in StatusBar1 while a report loads
  QFileDialog* SaveDialog1 = nullptr;
  // Finding a text: the menu "По&иск" (Ctrl+F, F3, Shift+F3) and its bar.
  QMenu* NSearch = nullptr;
  QAction *NFind = nullptr, *NFindNext = nullptr, *NFindPrevious = nullptr;
  FindBar* FindBar1 = nullptr;

  // Handlers.
  void N3Click();   // copy the selection
  void N4Click();   // select all
  void N7Click();   // close (hide)
  void N8Click();   // save as
  void N9Click();   // print
  void N14Click();  // editing on/off
  void FormResize();
  void FormClose();  // word wrap back on

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildMenus();
  void LoadProgress(int percent);
  void LoadFinished(bool complete);
  bool WaitForLoad();

  std::function<QString()> mainCaption_;
  std::optional<Period> period_;
  std::unique_ptr<QPrinter> printer_;  // the print dialog's choices, kept between reports
  bool waiting_ = false;               // a handler waits for the load to end
};

}  // namespace velmar
