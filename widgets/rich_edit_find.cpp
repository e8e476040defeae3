// Finding a text in a RichEdit: in the document shown, and in a big document
// through the blocks outside its window as well.
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "widgets/rich_edit.h"

namespace velmar {
namespace {

constexpr std::size_t kFindStepBlocks = 2000;  // blocks read at a time outside the window

}  // namespace

std::optional<std::size_t> RichEdit::FindBlockBeyondWindow(const QString& text, bool backward) const {
  const std::size_t total = BlockCount();
  const std::size_t first = windowFirst_;
  const std::size_t end = std::min(total, windowFirst_ + windowStarts_.size());
  // [from, to) in the direction of the search.
  const auto scan = [&](std::size_t from, std::size_t to) -> std::optional<std::size_t> {
    if (!backward) {
      for (std::size_t g = from; g < to; g += kFindStepBlocks) {
        const std::vector<QString> texts = BlockTexts(g, std::min(kFindStepBlocks, to - g));
        for (std::size_t i = 0; i < texts.size(); ++i)
          if (texts[i].contains(text, Qt::CaseInsensitive)) return g + i;
      }
    } else {
      for (std::size_t stop = to; stop > from;) {
        const std::size_t g = stop - std::min(kFindStepBlocks, stop - from);
        const std::vector<QString> texts = BlockTexts(g, stop - g);
        for (std::size_t i = texts.size(); i-- > 0;)
          if (texts[i].contains(text, Qt::CaseInsensitive)) return g + i;
        stop = g;
      }
    }
    return std::nullopt;
  };
  if (!backward) {
    if (auto found = scan(end, total)) return found;
    return scan(0, first);
  }
  if (auto found = scan(0, first)) return found;
  return scan(end, total);
}

RichEdit::FindResult RichEdit::Find(const QString& text, bool backward) {
  if (text.isEmpty()) return FindResult::NotFound;
  const QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
  QTextCursor found = document()->find(text, textCursor(), flags);
  bool wrapped = false;
  if (found.isNull() && windowed_ && content_) {
    const std::size_t windowEnd = windowFirst_ + windowStarts_.size();
    if (const std::optional<std::size_t> block = FindBlockBeyondWindow(text, backward)) {
      // Past the document's end when it lies before the window going on, or
      // after it going back.
      wrapped = backward ? *block >= windowEnd : *block < windowFirst_;
      ShowBlockAtTop(*block);
      const std::size_t i = *block - windowFirst_;
      QTextCursor from(document());
      if (!backward) {
        from.setPosition(windowStarts_[i]);
      } else {
        from.setPosition(i + 1 < windowStarts_.size() ? windowStarts_[i + 1] : document()->characterCount() - 1);
      }
      found = document()->find(text, from, flags);
    }
  }
  if (found.isNull()) {
    // Round the end, through what the window holds before the cursor.
    QTextCursor from(document());
    from.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
    found = document()->find(text, from, flags);
    wrapped = true;
  }
  if (found.isNull()) return FindResult::NotFound;
  allSelected_ = false;
  setTextCursor(found);
  ensureCursorVisible();
  return wrapped ? FindResult::Wrapped : FindResult::Found;
}

}  // namespace velmar
