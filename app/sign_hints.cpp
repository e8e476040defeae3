#include "app/sign_hints.h"

#include <QHelpEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolTip>

#include "texts/sign_legend.h"
#include "widgets/rich_edit.h"

namespace velmar {

SignHints::SignHints(QObject* parent) : QObject(parent) {}

void SignHints::Watch(RichEdit* text) { text->viewport()->installEventFilter(this); }

QString SignHints::HintAt(const RichEdit* text, const QPoint& viewportPoint) {
  const QTextCursor cursor = text->cursorForPosition(viewportPoint);
  const QTextBlock block = cursor.block();
  if (!block.isValid()) return {};
  // The fragment of the fixed-pitch font under the point: the position the
  // cursor takes may lie on either side of the character hit.
  const int at = cursor.position();
  for (auto it = block.begin(); !it.atEnd(); ++it) {
    const QTextFragment fragment = it.fragment();
    if (at < fragment.position() || at > fragment.position() + fragment.length()) continue;
    if (!fragment.charFormat().fontFixedPitch()) continue;
    // A sign's four cells may be cut into fragments (bold, colour): take the
    // run of fixed-pitch fragments around this one.
    QString run;
    for (auto back = it;; --back) {
      if (!back.fragment().charFormat().fontFixedPitch()) break;
      run.prepend(back.fragment().text());
      if (back == block.begin()) break;
    }
    for (auto on = it; !(++on).atEnd() && on.fragment().charFormat().fontFixedPitch();) run += on.fragment().text();
    const ServiceSign* sign = SignOf(run.toStdString());
    if (sign == nullptr) continue;
    QString hint = QString::fromUtf8(sign->sign.data(), static_cast<qsizetype>(sign->sign.size())) +
                   QStringLiteral(" — ") +
                   QString::fromUtf8(sign->meaning.data(), static_cast<qsizetype>(sign->meaning.size()));
    if (sign->code == '0')
      hint += QStringLiteral("\nТак же отмечены указание о посте и дополнительные записи (серым).");
    return hint;
  }
  return {};
}

bool SignHints::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* viewport = qobject_cast<QWidget*>(watched);
    auto* text = viewport != nullptr ? qobject_cast<RichEdit*>(viewport->parentWidget()) : nullptr;
    if (text != nullptr) {
      const auto* help = static_cast<QHelpEvent*>(event);
      const QString hint = HintAt(text, help->pos());
      if (hint.isEmpty()) {
        QToolTip::hideText();
      } else {
        QToolTip::showText(help->globalPos(), hint, viewport);
      }
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace velmar
