#pragma once
// CSpinEdit: a number field with up and down arrows and a range. Any whole
// number may be typed; its value is always within the range: a number typed
// outside it reads as the nearest limit (and becomes it when the field loses
// the focus), and a value set from code is clamped. Changed is raised on every
// change of the value, from the user or from code.

#include <QSpinBox>
#include <optional>

namespace velmar {

class CSpinEdit : public QSpinBox {
  Q_OBJECT

 public:
  explicit CSpinEdit(QWidget* parent = nullptr);

  // The number in the field as typed so far, clamped to the range; the last
  // value when the field holds no number.
  int Value() const;
  void SetValue(int value);  // clamped to MinValue..MaxValue
  int MinValue() const { return minimum(); }
  int MaxValue() const { return maximum(); }
  void SetMinValue(int value) { setMinimum(value); }
  void SetMaxValue(int value) { setMaximum(value); }

 signals:
  void Changed();

 protected:
  QValidator::State validate(QString& input, int& pos) const override;
  void fixup(QString& input) const override;

 private:
  // The whole number in a text, if it is one.
  std::optional<int> Typed(const QString& text) const;
};

}  // namespace velmar
