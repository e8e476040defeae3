#include "trayicon/tray_shell.h"

namespace lumora {

QString NotifyIconData::SetTip(const QString& text) {
  qsizetype length = qMin<qsizetype>(text.size(), TipCapacity - 1);
  if (length > 0 && length < text.size() && text.at(length - 1).isHighSurrogate()) --length;
  tip.fill(0);
  for (qsizetype i = 0; i < length; ++i) tip[static_cast<std::size_t>(i)] = text.at(i).unicode();
  return text.left(length);
}

QString NotifyIconData::Tip() const {
  qsizetype length = 0;
  while (length < TipCapacity && tip[static_cast<std::size_t>(length)] != 0) ++length;
  return QString(reinterpret_cast<const QChar*>(tip.data()), length);
}

}  // namespace lumora
