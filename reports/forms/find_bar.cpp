#include "reports/forms/find_bar.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

#include "widgets/rich_edit.h"

namespace velmar {

FindBar::FindBar(RichEdit* text, QWidget* parent) : QToolBar(parent), text_(text) {
  setObjectName(QStringLiteral("FindBar"));
  setWindowTitle(QStringLiteral("Поиск"));
  setMovable(false);
  setFloatable(false);
  auto* label = new QLabel(QStringLiteral("Найти:"), this);
  label->setContentsMargins(4, 0, 4, 0);
  Field = new QLineEdit(this);
  Field->setObjectName(QStringLiteral("FindField"));
  Field->setClearButtonEnabled(true);
  Field->setMinimumWidth(Field->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 24);
  label->setBuddy(Field);
  const auto button = [this](QStyle::StandardPixmap glyph, const QString& hint) {
    auto* b = new QToolButton(this);
    b->setIcon(style()->standardIcon(glyph));
    b->setToolTip(hint);
    b->setAutoRaise(true);
    return b;
  };
  NextButton = button(QStyle::SP_ArrowDown, QStringLiteral("Найти далее (F3)"));
  PreviousButton = button(QStyle::SP_ArrowUp, QStringLiteral("Найти назад (Shift+F3)"));
  CloseButton = button(QStyle::SP_TitleBarCloseButton, QStringLiteral("Закрыть (Esc)"));
  Outcome = new QLabel(this);
  Outcome->setContentsMargins(8, 0, 4, 0);
  addWidget(label);
  addWidget(Field);
  addWidget(NextButton);
  addWidget(PreviousButton);
  addWidget(Outcome);
  auto* spacer = new QWidget(this);
  spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  addWidget(spacer);
  addWidget(CloseButton);

  connect(NextButton, &QToolButton::clicked, this, [this] { FindNext(false); });
  connect(PreviousButton, &QToolButton::clicked, this, [this] { FindNext(true); });
  connect(CloseButton, &QToolButton::clicked, this, [this] {
    hide();
    text_->setFocus();
  });
  connect(Field, &QLineEdit::textEdited, Outcome, &QLabel::clear);
  Field->installEventFilter(this);
  hide();
}

void FindBar::Open() {
  const QString selected = text_->textCursor().selectedText();
  if (!selected.isEmpty() && selected.size() <= 100 && !selected.contains(QChar::ParagraphSeparator))
    Field->setText(selected);
  Outcome->clear();
  show();
  Field->setFocus();
  Field->selectAll();
}

void FindBar::FindNext(bool backward) {
  if (Field->text().isEmpty()) {
    Open();
    return;
  }
  switch (text_->Find(Field->text(), backward)) {
    case RichEdit::FindResult::Found: Outcome->clear(); break;
    case RichEdit::FindResult::Wrapped:
      Outcome->setText(backward ? QStringLiteral("Поиск продолжен с конца") : QStringLiteral("Поиск продолжен с начала"));
      break;
    case RichEdit::FindResult::NotFound: Outcome->setText(QStringLiteral("Не найдено")); break;
  }
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Field && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      FindNext((key->modifiers() & Qt::ShiftModifier) != 0);
      return true;
    }
    if (key->key() == Qt::Key_Escape) {
      CloseButton->click();
      return true;
    }
  }
  return QToolBar::eventFilter(watched, event);
}

}  // namespace velmar
