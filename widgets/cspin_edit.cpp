#include "widgets/cspin_edit.h"

#include <algorithm>

namespace velmar {

CSpinEdit::CSpinEdit(QWidget* parent) : QSpinBox(parent) {
  connect(this, &QSpinBox::valueChanged, this, &CSpinEdit::Changed);
}

int CSpinEdit::Value() const {
  const std::optional<int> typed = Typed(cleanText());
  return typed ? std::clamp(*typed, minimum(), maximum()) : value();
}

std::optional<int> CSpinEdit::Typed(const QString& text) const {
  bool ok = false;
  const int number = locale().toInt(text.trimmed(), &ok);
  if (!ok) return std::nullopt;
  return number;
}

QValidator::State CSpinEdit::validate(QString& input, int& pos) const {
  const QValidator::State own = QSpinBox::validate(input, pos);
  if (own != QValidator::Invalid) return own;
  // A number outside the range may stand in the field until it is read.
  return Typed(input) ? QValidator::Intermediate : QValidator::Invalid;
}

void CSpinEdit::fixup(QString& input) const {
  if (const std::optional<int> typed = Typed(input))
    input = textFromValue(std::clamp(*typed, minimum(), maximum()));
}

void CSpinEdit::SetValue(int value) { setValue(value); }

}  // namespace velmar
