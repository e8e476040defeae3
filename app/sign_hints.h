#pragma once
// Tooltips over the service-rank signs of the day texts: resting the mouse on
// a sign (· • ш c + +) (+)) says what it means, in the words of the reports'
// legend. The signs are known by the fixed-pitch font they are drawn in.

#include <QObject>

class QPoint;
class QString;

namespace velmar {

class RichEdit;

class SignHints : public QObject {
  Q_OBJECT

 public:
  explicit SignHints(QObject* parent = nullptr);
  // Explains the signs of this text from now on.
  void Watch(RichEdit* text);
  // The meaning of the sign at a point of the text's viewport; empty when
  // there is no sign there.
  static QString HintAt(const RichEdit* text, const QPoint& viewportPoint);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace velmar
