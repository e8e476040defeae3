#pragma once
// The page the rich-text controls show their documents on.
//
// The day texts and the reports are documents with colours of their own:
// black text, purple for the weekdays of Lent, dark red for Sundays and
// feasts, red signs, grey additional entries. They are shown as a word
// processor shows a document, on light paper of their own whatever the
// desktop's theme, and not with their colours mapped to a dark theme: the
// colours are the calendar's code and mean the same on the screen, on paper
// and in a saved file; what is shown is what is printed and saved; an edit
// made in the viewer keeps the colours as written, with no mapping back; and
// texts that users write into dbase/ with RTF colours of their own read as
// they wrote them.
//
// Two colours of the documents, the red of the signs (255, 0, 0) and the
// grey of the additional entries (128, 128, 128), fall short of a contrast
// of 4.5:1 even on white paper (4.0:1). On the screen only, they are drawn a
// shade deeper in the same hue, just enough to read (a layout format, as a
// highlighter's, that is no part of the document): the document itself, and
// so what is saved, printed, copied and exported, keeps its colours byte for
// byte. The shades are given to the blocks in view only, so that a long
// document opens as fast as without them.

#include <QColor>
#include <QObject>

class QTextEdit;

namespace velmar {

// The paper, and the text of a document that gives no colour of its own.
QColor PaperColour();
QColor PaperTextColour();

// The colour a document's text colour is drawn in on the paper: itself, or
// a deeper shade of it that reads there.
QColor OnPaper(const QColor& written);

// Draws the colours of a control's document that don't read on the paper in
// the deeper shade of OnPaper, as extra selections of the control (drawn
// over the text, no part of the document, its layout or its changes): those
// of the blocks in view, worked out again whenever the control paints.
class PaperHighlighter : public QObject {
  Q_OBJECT

 public:
  explicit PaperHighlighter(QTextEdit* edit);
  // Shades the blocks now in view; true when the shades changed.
  bool ShadeVisible();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QTextEdit* edit_;
};

// Puts the control's documents on the paper: its base and text colours
// become the paper's, and a PaperHighlighter (a child of the control) shades
// its current document. Call again after the control is given another
// document (QTextEdit::setDocument); clear the control's extra selections
// before its document is deleted, as they point into it.
void ShowOnPaper(QTextEdit* edit);

}  // namespace velmar
