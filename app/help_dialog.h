#pragma once
// THelpDlg, the help window: the program's short help (app/help_text.h) in a
// text browser, opened at the section it is asked for. A window of its own,
// not modal, resizable; its text follows the palette (light or dark).

#include <QDialog>
#include <string_view>

class QDialogButtonBox;
class QTextBrowser;

namespace velmar {

class THelpDlg : public QDialog {
  Q_OBJECT

 public:
  explicit THelpDlg(QWidget* parent = nullptr);

  // Writes the help afresh (the folders, the palette), shows the window at
  // the section with this anchor (kHelpPages ...; empty: its top) and
  // raises it.
  void ShowSection(std::string_view anchor);

  QTextBrowser* Browser = nullptr;
  QDialogButtonBox* Buttons = nullptr;

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void Fill();
};

}  // namespace velmar
