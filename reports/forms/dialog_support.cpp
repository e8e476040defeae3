#include "reports/forms/dialog_support.h"

#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QScreen>
#include <QSpinBox>
#include <algorithm>

#include "calendar/cp1251.h"

namespace velmar {

void SetOutcomeMarker(QLabel* prompt, DialogOutcome outcome) {
  prompt->move(static_cast<int>(outcome), prompt->y());
}

DialogOutcome OutcomeMarker(const QLabel* prompt) {
  switch (prompt->x()) {
    case static_cast<int>(DialogOutcome::Cancelled): return DialogOutcome::Cancelled;
    case static_cast<int>(DialogOutcome::Rejected): return DialogOutcome::Rejected;
    default: return DialogOutcome::Reset;
  }
}

int CommitTypedValue(QSpinBox* spin) {
  bool ok = false;
  const int typed = spin->locale().toInt(spin->cleanText(), &ok);
  // setValue also rewrites the text when the value stays the same.
  spin->setValue(ok ? std::clamp(typed, spin->minimum(), spin->maximum()) : spin->value());
  return spin->value();
}

void SetFontFace(QWidget* widget, const std::string& faceCp1251) {
  QFont font = widget->font();
  font.setFamily(QString::fromStdString(Cp1251ToUtf8(faceCp1251)));
  widget->setFont(font);
}

void CentreOnScreen(QWidget* widget) {
  const QScreen* screen = widget->screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  QRect frame = widget->frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  widget->move(frame.topLeft());
}

}  // namespace velmar
