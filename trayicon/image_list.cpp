#include "trayicon/image_list.h"

namespace lumora {

int ImageList::Add(const QIcon& icon) {
  icons_.push_back(icon);
  return Count() - 1;
}

int ImageList::Count() const { return static_cast<int>(icons_.size()); }

QIcon ImageList::GetIcon(int index) const {
  if (index < 0 || index >= Count()) return QIcon();
  return icons_[static_cast<std::size_t>(index)];
}

void ImageList::Clear() { icons_.clear(); }

}  // namespace lumora
