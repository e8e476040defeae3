#include "widgets/document_paper.h"

#include <QPalette>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include "widgets/readable_colours.h"

namespace velmar {

QColor PaperColour() { return QColor(255, 255, 255); }

QColor PaperTextColour() { return QColor(0, 0, 0); }

QColor OnPaper(const QColor& written) { return ReadableOn(written, PaperColour()); }

PaperHighlighter::PaperHighlighter(QObject* parent) : QSyntaxHighlighter(parent) {}

void PaperHighlighter::highlightBlock(const QString&) {
  const QTextBlock block = currentBlock();
  for (auto it = block.begin(); !it.atEnd(); ++it) {
    const QTextFragment fragment = it.fragment();
    if (!fragment.isValid()) continue;
    const QTextCharFormat format = fragment.charFormat();
    if (!format.hasProperty(QTextFormat::ForegroundBrush) || format.foreground().style() == Qt::NoBrush)
      continue;
    const QColor written = format.foreground().color();
    const QColor shown = OnPaper(written);
    if (shown == written) continue;
    QTextCharFormat deeper;
    deeper.setForeground(shown);
    setFormat(fragment.position() - block.position(), fragment.length(), deeper);
  }
}

void ShowOnPaper(QTextEdit* edit) {
  QPalette palette = edit->palette();
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::Base, PaperColour());
    palette.setColor(group, QPalette::Text, PaperTextColour());
  }
  if (palette != edit->palette()) edit->setPalette(palette);
  auto* highlighter = edit->findChild<PaperHighlighter*>(QString(), Qt::FindDirectChildrenOnly);
  if (highlighter == nullptr) highlighter = new PaperHighlighter(edit);
  if (highlighter->document() != edit->document()) highlighter->setDocument(edit->document());
}

}  // namespace velmar
