#include "widgets/document_paper.h"

#include <QEvent>
#include <QPalette>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include "widgets/readable_colours.h"

namespace velmar {

QColor PaperColour() { return QColor(255, 255, 255); }

QColor PaperTextColour() { return QColor(0, 0, 0); }

QColor OnPaper(const QColor& written) { return ReadableOn(written, PaperColour()); }

PaperHighlighter::PaperHighlighter(QTextEdit* edit) : QObject(edit), edit_(edit) {
  edit_->viewport()->installEventFilter(this);
}

bool PaperHighlighter::eventFilter(QObject* watched, QEvent* event) {
  // The new shades paint with the next update, which setExtraSelections asks
  // for; that paint finds them unchanged.
  if (event->type() == QEvent::Paint && watched == edit_->viewport()) ShadeVisible();
  return QObject::eventFilter(watched, event);
}

bool PaperHighlighter::ShadeVisible() {
  const QWidget* view = edit_->viewport();
  QTextBlock block = edit_->cursorForPosition(QPoint(0, 0)).block();
  const QTextBlock last = edit_->cursorForPosition(QPoint(view->width(), view->height())).block();
  QList<QTextEdit::ExtraSelection> shades;
  for (; block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.isValid()) continue;
      const QTextCharFormat format = fragment.charFormat();
      if (!format.hasProperty(QTextFormat::ForegroundBrush) || format.foreground().style() == Qt::NoBrush)
        continue;
      const QColor written = format.foreground().color();
      const QColor shown = OnPaper(written);
      if (shown == written) continue;
      QTextEdit::ExtraSelection shade;
      shade.cursor = QTextCursor(edit_->document());
      shade.cursor.setPosition(fragment.position());
      shade.cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
      shade.format.setForeground(shown);
      shades.push_back(shade);
    }
    if (block == last) break;
  }
  const QList<QTextEdit::ExtraSelection> now = edit_->extraSelections();
  bool same = now.size() == shades.size();
  for (qsizetype i = 0; same && i < now.size(); ++i) {
    same = now[i].cursor == shades[i].cursor && now[i].format == shades[i].format;
  }
  if (same) return false;
  edit_->setExtraSelections(shades);
  return true;
}

void ShowOnPaper(QTextEdit* edit) {
  QPalette palette = edit->palette();
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::Base, PaperColour());
    palette.setColor(group, QPalette::Text, PaperTextColour());
  }
  if (palette != edit->palette()) edit->setPalette(palette);
  const auto* highlighter = edit->findChild<PaperHighlighter*>(QString(), Qt::FindDirectChildrenOnly);
  if (highlighter == nullptr) new PaperHighlighter(edit);
}

}  // namespace velmar
