#pragma once
// The report viewer's find bar: "Найти:" with a text field, the next and
// previous buttons, a word on the outcome and a close button. Ctrl+F shows
// it; Enter and F3 find the next, Shift+Enter and Shift+F3 the previous; Esc
// hides it and gives the text back the focus.

#include <QToolBar>

class QLabel;
class QLineEdit;
class QToolButton;

namespace velmar {

class RichEdit;

class FindBar : public QToolBar {
  Q_OBJECT

 public:
  explicit FindBar(RichEdit* text, QWidget* parent = nullptr);

  // Shows the bar with the text field focused and its text selected (the
  // text's selection, when it is short and on one line, becomes the text).
  void Open();
  // Finds the field's text after the cursor (backwards: before it); opens
  // the bar first when the field is empty.
  void FindNext(bool backward = false);

  QLineEdit* Field = nullptr;
  QToolButton *NextButton = nullptr, *PreviousButton = nullptr, *CloseButton = nullptr;
  QLabel* Outcome = nullptr;  // "Не найдено", "Поиск продолжен с начала", ...

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  RichEdit* text_;
};

}  // namespace velmar
