#pragma once
// A list of icons addressed by position, the source of a tray component's
// animation frames. The application owns it; components only point to it.

#include <QIcon>
#include <vector>

#include "trayicon/lumora_export.h"

namespace lumora {

class LUMORA_EXPORT ImageList {
 public:
  // Appends an icon; returns its index.
  int Add(const QIcon& icon);
  // Number of icons, >= 0.
  int Count() const;
  // The icon at index (0-based); a null QIcon when index is out of range.
  QIcon GetIcon(int index) const;
  void Clear();

 private:
  std::vector<QIcon> icons_;
};

}  // namespace lumora
