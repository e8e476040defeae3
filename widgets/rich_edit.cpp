#include "widgets/rich_edit.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QPageLayout>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QResizeEvent>
#include <QSaveFile>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>
#include <new>
#include <string_view>
#include <utility>

#if defined(Q_OS_UNIX)
#include <sys/mman.h>
#include <sys/stat.h>
#endif

#include "texts/rtf_reader.h"
#include "widgets/document_paper.h"
#include "widgets/text_document_rtf.h"

namespace velmar {
namespace {

constexpr qint64 kMaxFileBytes = qint64{1} << 30;
constexpr qint64 kWholeDocumentBytes = qint64{512} << 10;
constexpr std::size_t kFirstScanBytes = std::size_t{1} << 20;  // read and scanned before the first screen
constexpr std::size_t kScanStepBytes = std::size_t{4} << 20;   // read and scanned in an event-loop step
constexpr qint64 kSameFileEdgeBytes = qint64{64} << 10;        // compared at both ends

// The window of a big document, in blocks: built and extended by a step,
// kept a margin ahead of what is on screen, trimmed above when it grows past
// its most.
constexpr std::size_t kWindowStep = 800;
constexpr std::size_t kWindowMargin = 200;
constexpr std::size_t kWindowBack = 400;  // kept above a block jumped to
constexpr std::size_t kWindowMost = 4000;
constexpr std::size_t kSliceBlocks = 2000;  // of print, save and copy
constexpr qreal kLeastPrintMarginMm = 15;
constexpr qreal kPrintMarginMm = 20;

qreal TwipsToPixels(int twips, qreal dpi) { return twips * dpi / 1440.0; }

std::string_view View(const QByteArray& bytes) {
  return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Maps the pages of a stretch of fresh memory in one go before it is
// written, where the system can: page by page it costs several times more.
void PrepareForWriting(char* data, std::size_t size) {
#if defined(Q_OS_LINUX) && defined(MADV_POPULATE_WRITE)
  const auto page = static_cast<std::uintptr_t>(4096);
  const auto begin = (reinterpret_cast<std::uintptr_t>(data) + page - 1) & ~(page - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(data) + size) & ~(page - 1);
  if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
  (void)data;
  (void)size;
#endif
}

// The file behind an open handle or a path, where the system tells: a file
// written anew is another file even with the same size and time.
QString FileIdentity(const QString& path) {
#if defined(Q_OS_UNIX)
  struct stat st {};
  if (::stat(QFile::encodeName(path).constData(), &st) != 0) return {};
  return QString::number(st.st_dev) + QLatin1Char(':') + QString::number(st.st_ino);
#else
  (void)path;
  return {};
#endif
}

}  // namespace

// An RTF document with the index of its scan. Its bytes are at hand, or
// arrive from an open file in order while the scan goes on.
struct RichEdit::Source {
  explicit Source(QByteArray data) : bytes(std::move(data)), index(View(bytes)) {}
  Source(std::unique_ptr<QFile> open, qint64 size)
      : bytes(size, Qt::Uninitialized), index(View(bytes), 0), file(std::move(open)) {
    modified = file->fileTime(QFileDevice::FileModificationTime);
  }

  // Reads up to `most` more bytes. False when the file can't be read on or
  // is no longer as it was when opened (its bytes so far stay).
  bool Arrive(std::size_t most) {
    if (file == nullptr) return true;
    const auto size = static_cast<std::size_t>(bytes.size());
    const auto unchanged = [this] {
      return file->size() == bytes.size() && file->fileTime(QFileDevice::FileModificationTime) == modified;
    };
    const std::size_t n = std::min(most, size - index.Available());
    char* at = const_cast<char*>(bytes.constData()) + index.Available();  // written once, never shared yet
    PrepareForWriting(at, n);
    if (!unchanged() || file->read(at, static_cast<qint64>(n)) != static_cast<qint64>(n) || !unchanged()) {
      file.reset();
      broken = true;
      return false;
    }
    index.SetAvailable(index.Available() + n);
    if (index.Available() == size) file.reset();
    return true;
  }

  QByteArray bytes;
  RtfBlockIndex index;
  std::unique_ptr<QFile> file;  // while bytes arrive
  QDateTime modified;
  bool broken = false;          // the file changed before all arrived
};

// The document as it stands: the loaded one, with the stretches edited in the
// window put in as RTF sources of their own.
struct RichEdit::Content {
  struct Span {
    std::shared_ptr<Source> source;
    std::size_t first = 0;  // blocks of the source
    std::size_t count = 0;
    bool toEnd = false;     // count is all the source has from first on
  };

  explicit Content(std::shared_ptr<Source> loaded) : original(std::move(loaded)) {
    spans.push_back({original, 0, 0, true});
  }

  std::size_t Count(const Span& s) const {
    if (!s.toEnd) return s.count;
    const std::size_t found = s.source->index.BlockCount();
    return found > s.first ? found - s.first : 0;
  }

  std::size_t BlockCount() const {
    std::size_t n = 0;
    for (const Span& s : spans) n += Count(s);
    return n;
  }

  bool Complete() const { return original->index.Complete(); }
  bool Broken() const { return original->broken; }

  // Blocks [first, first + count) of the document, a model for each source
  // they come from.
  std::vector<RtfDocument> Read(std::size_t first, std::size_t count) const {
    std::vector<RtfDocument> parts;
    std::size_t start = 0;
    for (const Span& s : spans) {
      if (count == 0) break;
      const std::size_t n = Count(s);
      if (first < start + n) {
        const std::size_t offset = first - start;
        const std::size_t take = std::min(count, n - offset);
        parts.push_back(s.source->index.Read(s.first + offset, take));
        first += take;
        count -= take;
      }
      start += n;
    }
    return parts;
  }

  // Puts the RTF of an edited stretch in place of blocks [first, first +
  // count), 0 < count, first + count <= BlockCount(); returns how many
  // blocks it has. The last span may still grow with the scan.
  std::size_t Replace(std::size_t first, std::size_t count, QByteArray rtf) {
    auto piece = std::make_shared<Source>(std::move(rtf));
    while (!piece->index.Advance(std::size_t{1} << 30)) {
    }
    const std::size_t m = piece->index.BlockCount();
    const std::size_t end = first + count;
    std::vector<Span> out;
    bool inserted = false;
    std::size_t start = 0;
    for (const Span& s : spans) {
      const std::size_t n = Count(s);
      const std::size_t stop = start + n;
      if (start < first) {  // what comes before the stretch
        Span before = s;
        if (stop > first || s.toEnd) {
          before.count = std::min(stop, first) - start;
          before.toEnd = false;
        }
        out.push_back(before);
      }
      if (!inserted && (stop > first || s.toEnd)) {
        out.push_back({piece, 0, m, false});
        inserted = true;
      }
      const std::size_t from = std::max(start, end);  // what comes after it
      if (from < stop || s.toEnd) {
        Span after = s;
        after.first = s.first + (from - start);
        after.count = stop - from;
        out.push_back(after);
      }
      start = stop;
    }
    if (!inserted) out.push_back({piece, 0, m, false});
    spans = std::move(out);
    edited = true;
    return m;
  }

  std::shared_ptr<Source> original;
  std::vector<Span> spans;
  bool edited = false;
};

RichEdit::RichEdit(QWidget* parent) : QTextEdit(parent) {
  setAcceptRichText(true);
  setLineWrapMode(QTextEdit::WidgetWidth);
  setWordWrapMode(QTextOption::WordWrap);  // never inside a word, in table cells neither
  setTabStopDistance(TwipsToPixels(defaultTabTwips_, logicalDpiX()));
  ShowOnPaper(this);

  scanTimer_.setInterval(0);
  connect(&scanTimer_, &QTimer::timeout, this, [this] { ScanStep(); });

  blockBar_ = new QScrollBar(Qt::Vertical, this);
  blockBar_->setObjectName(QStringLiteral("BlockScrollBar"));
  blockBar_->hide();
  blockBarTimer_.setSingleShot(true);
  blockBarTimer_.setInterval(0);
  connect(&blockBarTimer_, &QTimer::timeout, this, [this] { BlockScrollBarMoved(); });
  connect(blockBar_, &QScrollBar::valueChanged, this, [this] {
    if (!updatingBar_) blockBarTimer_.start();
  });
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { ScheduleWindowCheck(); });
  connect(this, &QTextEdit::selectionChanged, this, [this] {
    if (changingWindow_ || !allSelected_) return;
    const QTextCursor c = textCursor();
    if (std::min(c.anchor(), c.position()) != 0 ||
        std::max(c.anchor(), c.position()) < document()->characterCount() - 1)
      allSelected_ = false;
  });
}

RichEdit::~RichEdit() = default;

qint64 RichEdit::MaxLoadBytes() { return kMaxFileBytes; }

qint64 RichEdit::WholeDocumentBytes() { return kWholeDocumentBytes; }

// Loading

bool RichEdit::LoadFromFile(const QString& path) {
  if (hasLoaded_ && !IsModifiedSinceLoad() && SameFileUnchanged(path)) {
    // Loading it again would show the same: go to the top as a load does.
    lastFailure_ = LoadFailure::None;
    allSelected_ = false;
    if (windowed_ && windowFirst_ != 0) ShowBlockAtTop(0);
    moveCursor(QTextCursor::Start);
    return true;
  }
  Clear();
  lastFailure_ = LoadFailure::CannotRead;
  const QFileInfo info(path);
  auto file = std::make_unique<QFile>(path);
  if (!info.isFile() || !file->open(QIODevice::ReadOnly)) return false;
  const qint64 size = file->size();
  if (size > kMaxFileBytes) {
    lastFailure_ = LoadFailure::TooLarge;
    return false;
  }
  FileStamp stamp{info.absoluteFilePath(), size, file->fileTime(QFileDevice::FileModificationTime),
                  FileIdentity(path)};
  std::shared_ptr<Source> source;
  try {
    source = std::make_shared<Source>(std::move(file), size);
  } catch (const std::bad_alloc&) {
    lastFailure_ = LoadFailure::OutOfMemory;
    return false;
  }
  // A small document arrives whole; a big one as far as the first screen
  // needs, the rest while it is shown.
  if (!source->Arrive(size <= kWholeDocumentBytes ? static_cast<std::size_t>(size) : kFirstScanBytes))
    return false;
  lastFailure_ = LoadFailure::None;
  StartLoad(std::move(source));
  stamp_ = stamp;
  return true;
}

bool RichEdit::SameFileUnchanged(const QString& path) const {
  if (!content_ || content_->Broken() || stamp_.size < 0) return false;
  const QFileInfo info(path);
  if (!info.isFile() || info.absoluteFilePath() != stamp_.path || info.size() != stamp_.size ||
      info.lastModified() != stamp_.modified || FileIdentity(path) != stamp_.identity)
    return false;
  // The bytes at both ends, as far as they have arrived.
  const Source& kept = *content_->original;
  const auto arrived = static_cast<qint64>(kept.index.Available());
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const qint64 edge = std::min({kSameFileEdgeBytes, stamp_.size, arrived});
  if (file.read(edge) != QByteArrayView(kept.bytes.constData(), edge)) return false;
  if (arrived < stamp_.size) return true;
  if (!file.seek(stamp_.size - edge)) return false;
  return file.read(edge) == QByteArrayView(kept.bytes.constData() + stamp_.size - edge, edge);
}

void RichEdit::LoadFromBytes(const QByteArray& rtf) {
  Clear();
  lastFailure_ = LoadFailure::None;
  StartLoad(std::make_shared<Source>(rtf));
}

void RichEdit::StartLoad(std::shared_ptr<Source> source) {
  const bool whole = source->bytes.size() <= kWholeDocumentBytes;
  content_ = std::make_unique<Content>(std::move(source));
  hasLoaded_ = true;
  RtfBlockIndex& index = content_->original->index;
  if (whole) {
    // Built apart and then handed to the view: Qt lays a new document out
    // lazily, as far as it is shown, where changing the shown one would lay
    // out all of it at once.
    while (!index.Advance(kFirstScanBytes)) {
    }
    const RtfDocument model = ReadRtf(View(content_->original->bytes));
    defaultTabTwips_ = model.defaultTab;
    QTextDocument* doc = NewDocument();
    TextDocumentBuilder(*doc, logicalDpiX(), WordWrap()).Append(model);
    doc->setUndoRedoEnabled(true);
    doc->setModified(false);
    ShowDocument(doc);
    moveCursor(QTextCursor::Start);
    return;
  }
  index.Advance(kFirstScanBytes);
  defaultTabTwips_ = index.DefaultTab();
  EnterWindowedMode();
  BuildWindow(0, kWindowStep);
  moveCursor(QTextCursor::Start);
  UpdateBlockScrollBar();
  if (!index.Complete()) {
    scanTimer_.start();
    emit LoadProgress(LoadPercent());
  } else {
    emit LoadFinished(true);
  }
}

void RichEdit::ScanStep() {
  if (!IsLoading()) {
    scanTimer_.stop();
    return;
  }
  const int before = LoadPercent();
  Source& source = *content_->original;
  if (!source.Arrive(kScanStepBytes)) {
    lastFailure_ = LoadFailure::FileChanged;
    EndScan(false);
    return;
  }
  source.index.Advance(kScanStepBytes);
  if (windowStarts_.size() < kWindowStep) ScheduleWindowCheck();  // the first screen may still be short
  UpdateBlockScrollBar();
  if (content_->Complete()) {
    EndScan(true);
    return;
  }
  const int after = LoadPercent();
  if (after != before) emit LoadProgress(after);
}

void RichEdit::EndScan(bool complete) {
  scanTimer_.stop();
  if (complete) emit LoadProgress(100);
  emit LoadFinished(complete);
  ScheduleWindowCheck();
}

bool RichEdit::IsLoading() const { return content_ && !content_->Complete() && !content_->Broken(); }

int RichEdit::LoadPercent() const {
  if (!IsLoading()) return 100;
  const RtfBlockIndex& index = content_->original->index;
  const std::size_t size = std::max<std::size_t>(index.Size(), 1);
  return static_cast<int>(std::min<std::size_t>(99, index.BytesScanned() * 100 / size));
}

bool RichEdit::FinishLoading() {
  if (!IsLoading()) return !content_ || !content_->Broken();
  const quint64 generation = generation_;
  const QPointer<RichEdit> alive(this);
  while (IsLoading()) {
    ScanStep();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (!alive || generation_ != generation) return false;
  }
  return !content_->Broken();
}

QTextDocument* RichEdit::NewDocument() {
  QTextDocument* previous = document();
  auto* doc = new QTextDocument(this);
  doc->setDefaultFont(previous->defaultFont());
  doc->setDocumentMargin(previous->documentMargin());
  doc->setUndoRedoEnabled(false);
  return doc;
}

void RichEdit::ShowDocument(QTextDocument* doc) {
  QTextDocument* previous = document();
  const bool previousIsOurs = previous->parent() == this;
  setExtraSelections({});  // the paper's shades point into the document that goes
  setDocument(doc);
  if (previousIsOurs && previous != doc) delete previous;  // Qt deletes only the one it made itself
  ShowOnPaper(this);
  setTabStopDistance(TwipsToPixels(defaultTabTwips_, logicalDpiX()));
}

void RichEdit::Clear() {
  ++generation_;
  lastFailure_ = LoadFailure::None;
  const bool wasLoading = IsLoading();
  scanTimer_.stop();
  blockBarTimer_.stop();
  LeaveWindowedMode();
  windowBuilder_.reset();
  windowStarts_.clear();
  windowTables_.clear();
  windowFirst_ = 0;
  allSelected_ = false;
  content_.reset();
  hasLoaded_ = false;
  stamp_ = FileStamp{};
  clear();
  document()->setModified(false);
  if (wasLoading) emit LoadFinished(false);
}

bool RichEdit::IsModifiedSinceLoad() const {
  return document()->isModified() || (content_ && content_->edited);
}

// The window of a big document

void RichEdit::EnterWindowedMode() {
  if (windowed_) return;
  windowed_ = true;
  innerBarPolicy_ = verticalScrollBarPolicy();
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setViewportMargins(0, 0, style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this), 0);
  PlaceBlockScrollBar();
  blockBar_->show();
}

void RichEdit::LeaveWindowedMode() {
  if (!windowed_) return;
  windowed_ = false;
  blockBar_->hide();
  setViewportMargins(0, 0, 0, 0);
  setVerticalScrollBarPolicy(innerBarPolicy_);
}

std::size_t RichEdit::BlockCount() const { return content_ ? content_->BlockCount() : 0; }

void RichEdit::BuildWindow(std::size_t first, std::size_t count) {
  changingWindow_ = true;
  QTextDocument* doc = NewDocument();
  windowBuilder_ = std::make_unique<TextDocumentBuilder>(*doc, logicalDpiX(), WordWrap());
  windowStarts_.clear();
  windowTables_.clear();
  windowFirst_ = first;
  for (const RtfDocument& part : content_->Read(first, count)) {
    for (const TextDocumentItem& item : windowBuilder_->Append(part)) {
      windowStarts_.push_back(item.position);
      windowTables_.push_back(item.table);
    }
  }
  doc->setUndoRedoEnabled(true);
  doc->setModified(false);
  ShowDocument(doc);
  changingWindow_ = false;
  KeepAllSelected();
}

void RichEdit::AppendToWindow(std::size_t count) {
  QTextDocument* doc = document();
  const std::size_t next = windowFirst_ + windowStarts_.size();
  const std::vector<RtfDocument> parts = content_->Read(next, count);
  if (parts.empty()) return;
  changingWindow_ = true;
  doc->setUndoRedoEnabled(false);
  for (const RtfDocument& part : parts) {
    for (const TextDocumentItem& item : windowBuilder_->Append(part)) {
      windowStarts_.push_back(item.position);
      windowTables_.push_back(item.table);
    }
  }
  doc->setUndoRedoEnabled(true);
  doc->setModified(false);
  changingWindow_ = false;
  KeepAllSelected();
}

// Drops the first count blocks of the window (fewer when the cut would fall
// beside a table), keeping what is on screen where it is.
void RichEdit::TrimWindowTop(std::size_t count) {
  while (count > 0 && count < windowStarts_.size() && (windowTables_[count] || windowTables_[count - 1]))
    --count;
  if (count == 0 || count >= windowStarts_.size()) return;
  QTextDocument* doc = document();
  const int cut = windowStarts_[count];
  QTextCursor cursor = textCursor();
  if (!allSelected_ && cursor.hasSelection() && std::min(cursor.anchor(), cursor.position()) < cut)
    return;  // a selection reaches up there
  const QTextBlock kept = doc->findBlock(cut);
  const QTextBlockFormat blockFormat = kept.blockFormat();
  const QTextCharFormat markFormat = kept.charFormat();
  QAbstractTextDocumentLayout* layout = doc->documentLayout();
  const qreal keptTop = layout->blockBoundingRect(kept).top();
  const int value = verticalScrollBar()->value();

  changingWindow_ = true;
  if (cursor.position() < cut) {
    cursor.setPosition(cut);
    setTextCursor(cursor);
  }
  doc->setUndoRedoEnabled(false);
  QTextCursor cutter(doc);
  cutter.setPosition(cut, QTextCursor::KeepAnchor);
  cutter.removeSelectedText();
  QTextCursor first(doc);
  first.setBlockFormat(blockFormat);
  first.setBlockCharFormat(markFormat);
  doc->setUndoRedoEnabled(true);
  doc->setModified(false);
  windowStarts_.erase(windowStarts_.begin(), windowStarts_.begin() + static_cast<long>(count));
  windowTables_.erase(windowTables_.begin(), windowTables_.begin() + static_cast<long>(count));
  for (int& start : windowStarts_) start -= cut;
  windowFirst_ += count;
  const qreal shift = keptTop - layout->blockBoundingRect(doc->firstBlock()).top();
  emit layout->documentSizeChanged(QSizeF());  // the scroll bar's range, now
  verticalScrollBar()->setValue(value - qRound(shift));
  changingWindow_ = false;
  KeepAllSelected();
}

std::size_t RichEdit::WindowItemAt(int position) const {
  const auto after = std::upper_bound(windowStarts_.begin(), windowStarts_.end(), position);
  return after == windowStarts_.begin() ? 0 : static_cast<std::size_t>(after - windowStarts_.begin() - 1);
}

// Where a block of the window starts, in pixels from the document's top.
qreal RichEdit::WindowItemTop(std::size_t i) const {
  QTextDocument* doc = document();
  QAbstractTextDocumentLayout* layout = doc->documentLayout();
  const QTextBlock block = doc->findBlock(windowStarts_[i]);
  if (windowTables_[i]) {
    if (QTextTable* table = QTextCursor(block).currentTable()) return layout->frameBoundingRect(table).top();
  }
  return layout->blockBoundingRect(block).top();
}

// The block of the window at a height of the document (laid out as far).
std::size_t RichEdit::WindowItemAtY(qreal y) const {
  std::size_t low = 0, high = windowStarts_.size();  // the item is in [low, high)
  while (high - low > 1) {
    const std::size_t middle = low + (high - low) / 2;
    if (WindowItemTop(middle) <= y) low = middle;
    else high = middle;
  }
  return low;
}

std::size_t RichEdit::TopWindowItem() const {
  return WindowItemAtY(verticalScrollBar()->value());
}

std::size_t RichEdit::BottomWindowItem() const {
  return WindowItemAtY(verticalScrollBar()->value() + std::max(0, viewport()->height() - 1));
}

// Builds a window around the block and scrolls it to the top of the view
// (pixelsAbove of it above the view's top); the cursor and selection stay
// where they were in the document when the window still holds them.
void RichEdit::ShowBlockAtTop(std::size_t block, int pixelsAbove) {
  if (!content_) return;
  const std::size_t total = BlockCount();
  if (total == 0) return;
  block = std::min(block, total - 1);
  CommitWindowEdits();
  struct Place {
    std::size_t block;
    int offset;
  };
  const QTextCursor old = textCursor();
  const auto toPlace = [this](int position) {
    const std::size_t i = WindowItemAt(position);
    return Place{windowFirst_ + i, windowStarts_.empty() ? 0 : position - windowStarts_[i]};
  };
  const Place anchor = toPlace(old.anchor());
  const Place position = toPlace(old.position());

  const std::size_t first = block > kWindowBack ? block - kWindowBack : 0;
  BuildWindow(first, block - first + kWindowStep);
  if (windowStarts_.empty()) return;

  changingWindow_ = true;
  QTextDocument* doc = document();
  const std::size_t end = windowFirst_ + windowStarts_.size();
  const auto toPosition = [&](const Place& p) {
    const std::size_t i = p.block - windowFirst_;
    const int limit = i + 1 < windowStarts_.size() ? windowStarts_[i + 1] - 1 : doc->characterCount() - 1;
    return std::clamp(windowStarts_[i] + p.offset, windowStarts_[i], std::max(windowStarts_[i], limit));
  };
  const std::size_t i = std::min(block - windowFirst_, windowStarts_.size() - 1);
  QTextCursor c(doc);
  if (anchor.block >= windowFirst_ && anchor.block < end && position.block >= windowFirst_ &&
      position.block < end) {
    c.setPosition(toPosition(anchor));
    c.setPosition(toPosition(position), QTextCursor::KeepAnchor);
  } else {
    c.setPosition(windowStarts_[i]);  // the cursor goes along with the view
  }
  setTextCursor(c);
  const qreal y = WindowItemTop(i);
  emit doc->documentLayout()->documentSizeChanged(QSizeF());
  verticalScrollBar()->setValue(qRound(y) + pixelsAbove);
  changingWindow_ = false;
  KeepAllSelected();
  UpdateBlockScrollBar();
}

// Edits made in the window become a source of their own, so that they stay
// when the window moves; the window is built anew from it, the view and the
// cursor where they were.
void RichEdit::CommitWindowEdits() {
  if (!windowed_ || !content_ || !document()->isModified() || windowStarts_.empty()) return;
  const int value = verticalScrollBar()->value();
  const QTextCursor c = textCursor();
  const int anchor = c.anchor(), position = c.position();
  const std::size_t m =
      content_->Replace(windowFirst_, windowStarts_.size(), DocumentToRtf(*document(), defaultTabTwips_));
  BuildWindow(windowFirst_, m);
  changingWindow_ = true;
  QTextCursor restored(document());
  const int last = document()->characterCount() - 1;
  restored.setPosition(std::clamp(anchor, 0, last));
  restored.setPosition(std::clamp(position, 0, last), QTextCursor::KeepAnchor);
  setTextCursor(restored);
  emit document()->documentLayout()->documentSizeChanged(QSizeF());
  verticalScrollBar()->setValue(value);
  changingWindow_ = false;
  KeepAllSelected();
}

void RichEdit::ScheduleWindowCheck() {
  if (!windowed_ || windowCheckPending_ || changingWindow_) return;
  windowCheckPending_ = true;
  QTimer::singleShot(0, this, [this] {
    windowCheckPending_ = false;
    CheckWindow();
  });
}

// Keeps the window a margin ahead of the view in both directions, and no
// bigger than its most.
void RichEdit::CheckWindow() {
  if (!windowed_ || !content_ || changingWindow_) return;
  if (document()->isModified()) {
    // Edits become a source of their own before the window moves.
    const std::size_t items = windowStarts_.size();
    const bool nearEnd = items - BottomWindowItem() <= kWindowMargin && windowFirst_ + items < BlockCount();
    const bool nearTop = TopWindowItem() < kWindowMargin && windowFirst_ > 0;
    if (nearEnd || nearTop) CommitWindowEdits();
    if (document()->isModified()) {
      UpdateBlockScrollBar();
      return;
    }
  }
  const std::size_t items = windowStarts_.size();
  const std::size_t bottom = BottomWindowItem();
  if (items - bottom <= kWindowMargin && windowFirst_ + items < BlockCount()) AppendToWindow(kWindowStep);
  const std::size_t top = TopWindowItem();
  if (top < kWindowMargin && windowFirst_ > 0) {
    ShowBlockAtTop(windowFirst_ + top, verticalScrollBar()->value() - qRound(WindowItemTop(top)));
  } else if (windowStarts_.size() > kWindowMost && top > kWindowBack + kWindowMargin) {
    TrimWindowTop(top - kWindowBack);
  }
  UpdateBlockScrollBar();
}

void RichEdit::UpdateBlockScrollBar() {
  if (!windowed_ || windowStarts_.empty()) return;
  const std::size_t top = TopWindowItem();
  const std::size_t visible = BottomWindowItem() - top + 1;
  const std::size_t total = BlockCount();
  updatingBar_ = true;
  blockBar_->setRange(0, static_cast<int>(total > visible ? total - visible : 0));
  blockBar_->setPageStep(static_cast<int>(visible));
  blockBar_->setSingleStep(1);
  blockBar_->setValue(static_cast<int>(windowFirst_ + top));
  updatingBar_ = false;
}

void RichEdit::PlaceBlockScrollBar() {
  const QRect area = viewport()->geometry();
  const int width = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  blockBar_->setGeometry(area.right() + 1, area.top(), width, area.height());
}

// The user moved the block scroll bar: the block it points at goes to the
// top, within the window when it holds enough after it.
void RichEdit::BlockScrollBarMoved() {
  if (!windowed_ || !content_) return;
  const auto target = static_cast<std::size_t>(blockBar_->value());
  if (!document()->isModified() && target >= windowFirst_ &&
      target + kWindowMargin < windowFirst_ + windowStarts_.size()) {
    const qreal y = WindowItemTop(target - windowFirst_);
    emit document()->documentLayout()->documentSizeChanged(QSizeF());
    verticalScrollBar()->setValue(qRound(y));
    return;
  }
  ShowBlockAtTop(target);
}

void RichEdit::KeepAllSelected() {
  if (!allSelected_) return;
  const bool was = changingWindow_;
  changingWindow_ = true;
  const int value = verticalScrollBar()->value();
  const int column = horizontalScrollBar()->value();
  selectAll();
  verticalScrollBar()->setValue(value);
  horizontalScrollBar()->setValue(column);
  changingWindow_ = was;
}

void RichEdit::keyPressEvent(QKeyEvent* event) {
  if (event == QKeySequence::SelectAll) {
    SelectAll();
    event->accept();
    return;
  }
  if (windowed_) {
    if (event == QKeySequence::Copy && allSelected_) {
      CopyToClipboard();
      event->accept();
      return;
    }
    if (event == QKeySequence::MoveToStartOfDocument) {
      if (windowFirst_ > 0) ShowBlockAtTop(0);
      moveCursor(QTextCursor::Start);
      event->accept();
      return;
    }
    if (event == QKeySequence::MoveToEndOfDocument) {
      const std::size_t total = BlockCount();
      if (total > 0 && windowFirst_ + windowStarts_.size() < total) ShowBlockAtTop(total - 1);
      moveCursor(QTextCursor::End);
      event->accept();
      return;
    }
  }
  QTextEdit::keyPressEvent(event);
}

void RichEdit::resizeEvent(QResizeEvent* event) {
  QTextEdit::resizeEvent(event);
  if (!windowed_) return;
  PlaceBlockScrollBar();
  ScheduleWindowCheck();
}

// Slices of the whole document

// A document of blocks [first, first + count) as the control would show them.
QTextDocument* RichEdit::BuildSlice(std::size_t first, std::size_t count,
                                    std::vector<TextDocumentItem>* items) const {
  auto* doc = new QTextDocument;
  doc->setDefaultFont(document()->defaultFont());
  doc->setDocumentMargin(document()->documentMargin());
  doc->setDefaultTextOption(document()->defaultTextOption());
  doc->setUndoRedoEnabled(false);
  TextDocumentBuilder builder(*doc, logicalDpiX(), WordWrap());
  for (const RtfDocument& part : content_->Read(first, count)) {
    std::vector<TextDocumentItem> built = builder.Append(part);
    if (items != nullptr) items->insert(items->end(), built.begin(), built.end());
  }
  return doc;
}

// How many blocks from first make a slice: about kSliceBlocks, never cut
// beside a table (whose neighbours Qt keeps as empty blocks of its own).
std::size_t RichEdit::SliceLength(std::size_t first, std::size_t total) const {
  std::size_t n = std::min(kSliceBlocks, total - first);
  while (first + n < total) {
    const std::vector<RtfDocument> edge = content_->Read(first + n - 1, 2);
    bool table = false;
    for (const RtfDocument& part : edge)
      for (const RtfBlock& b : part.blocks) table = table || std::holds_alternative<RtfTable>(b);
    if (!table) break;
    ++n;
  }
  return n;
}

bool RichEdit::ForEachSliceOfContent(const std::function<bool(const QTextDocument&)>& slice) const {
  if (!content_) return slice(*document());
  const std::size_t total = BlockCount();
  const bool liveWindow = windowed_ && document()->isModified();
  const std::size_t windowEnd = windowFirst_ + windowStarts_.size();
  std::size_t g = 0;
  while (g < total) {
    if (liveWindow && g == windowFirst_) {
      if (!slice(*document())) return false;
      g = windowEnd;
      continue;
    }
    std::size_t n = SliceLength(g, total);
    if (liveWindow && g < windowFirst_) n = std::min(n, windowFirst_ - g);
    const std::unique_ptr<QTextDocument> doc(BuildSlice(g, n, nullptr));
    if (!slice(*doc)) return false;
    g += n;
  }
  return true;
}

bool RichEdit::ForEachSlice(const std::function<bool(const QTextDocument& slice)>& slice) {
  if (!windowed_) return slice(*document());
  return ForEachSliceOfContent(slice);
}

// Saving, printing, copying

QByteArray RichEdit::CurrentRtf() const {
  return hasLoaded_ && !IsModifiedSinceLoad() ? content_->original->bytes : ToRtf();
}

bool RichEdit::SaveToFile(const QString& path) {
  if (!FinishLoading()) return false;  // never a part as if it were all
  const QByteArray bytes = CurrentRtf();
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

QByteArray RichEdit::ToRtf() const {
  if (!windowed_) return DocumentToRtf(*document(), defaultTabTwips_);
  RtfGenerator generator(document()->defaultFont());
  ForEachSliceOfContent([&generator](const QTextDocument& doc) {
    generator.Add(doc);
    return true;
  });
  return generator.Finish(defaultTabTwips_);
}

void RichEdit::Print(QPrinter* printer, const QString& jobTitle) {
  if (printer == nullptr) return;
  printer->setDocName(jobTitle);
  // Margins of a printed page: at least 15 mm a side (the bottom one holds
  // the page number); a side below that gets 20 mm, as does a printer that
  // offers its hardware's few millimetres.
  const QMarginsF chosen = printer->pageLayout().margins(QPageLayout::Millimeter);
  const auto atLeast = [](qreal side) { return side < kLeastPrintMarginMm ? kPrintMarginMm : side; };
  const QMarginsF margins(atLeast(chosen.left()), atLeast(chosen.top()), atLeast(chosen.right()),
                          atLeast(chosen.bottom()));
  if (margins != chosen) printer->setPageMargins(margins, QPageLayout::Millimeter);
  if (!windowed_) {
    // Lay a copy out on the printer's pages: the same text at the printer's
    // resolution, page by page, each with its number under it.
    const std::unique_ptr<QTextDocument> copy(document()->clone());
    PrintDocument(printer, *copy);
    return;
  }
  if (!FinishLoading() || !windowed_) return;
  CommitWindowEdits();
  PrintSlices(printer);
}

namespace {

// Draws page p (from 1) of a document laid out on pages, and the page's
// number (counted in the whole document) in the middle of the bottom margin.
void DrawPage(QPainter& painter, QTextDocument& doc, int p, const QSizeF& page, int number,
              qreal bottomMargin) {
  const QRectF view(0, (p - 1) * page.height(), page.width(), page.height());
  painter.save();
  painter.translate(0, -view.top());
  painter.setClipRect(view);
  QAbstractTextDocumentLayout::PaintContext context;
  context.clip = view;
  context.palette.setColor(QPalette::Text, Qt::black);
  doc.documentLayout()->draw(&painter, context);
  painter.restore();
  painter.save();
  QFont font = doc.defaultFont();
  font.setPointSizeF(9);
  painter.setFont(QFont(font, painter.device()));
  painter.setPen(Qt::black);
  const QRectF footer(0, page.height(), page.width(), bottomMargin / 2 + painter.fontMetrics().height() / 2.0);
  painter.drawText(footer, Qt::AlignHCenter | Qt::AlignBottom, QString::number(number));
  painter.restore();
}

// The printer's bottom margin in its device pixels.
qreal BottomMargin(const QPrinter& printer) {
  return printer.pageLayout().marginsPixels(printer.resolution()).bottom();
}

// The printer's page range, or all pages (1..INT_MAX) when none is chosen.
std::pair<int, int> PageRange(const QPrinter& printer) {
  int from = printer.fromPage();
  int to = printer.toPage();
  if (from <= 0 && to <= 0) return {1, INT_MAX};
  from = std::max(from, 1);
  return {from, std::max(to, from)};
}

}  // namespace

void RichEdit::PrintDocument(QPrinter* printer, QTextDocument& doc) {
  QPainter painter;
  if (!painter.begin(printer)) return;
  doc.documentLayout()->setPaintDevice(painter.device());
  const QSizeF page = printer->pageRect(QPrinter::DevicePixel).size();
  doc.setPageSize(page);
  const int pages = std::max(doc.pageCount(), 1);
  auto [from, to] = PageRange(*printer);
  from = std::clamp(from, 1, pages);
  to = std::clamp(to, from, pages);
  for (int p = from; p <= to; ++p) {
    DrawPage(painter, doc, p, page, p, BottomMargin(*printer));
    if (p < to) printer->newPage();
  }
  painter.end();
}

// A big document goes to the printer a slice at a time. Each slice is laid
// out on pages; all of them but its last are printed, and the next slice
// starts with the block that opens that last page, so that the pages are
// those of the whole document laid out at once.
void RichEdit::PrintSlices(QPrinter* printer) {
  QPainter painter;
  if (!painter.begin(printer)) return;
  const QSizeF page = printer->pageRect(QPrinter::DevicePixel).size();
  const auto [from, to] = PageRange(*printer);
  const std::size_t total = BlockCount();
  int pageNumber = 0;  // pages laid out so far
  bool printed = false;
  std::size_t g = 0;
  while (g < total && pageNumber < to) {
    const std::size_t n = SliceLength(g, total);
    std::vector<TextDocumentItem> items;
    const std::unique_ptr<QTextDocument> doc(BuildSlice(g, n, &items));
    doc->documentLayout()->setPaintDevice(painter.device());
    doc->setPageSize(page);
    const int pages = std::max(doc->pageCount(), 1);
    int keep = pages;  // pages of this slice printed
    std::size_t next = g + n;
    if (next < total && pages > 1) {
      // The next slice opens with the block that opens a page: the last page
      // that opens with a block of its own (not inside one that goes on from
      // the page before) ends this slice's print before it.
      // Where a block's text begins and ends: its first line's top and its
      // last line's bottom (a block's own spacing may reach across a break).
      QAbstractTextDocumentLayout* layout = doc->documentLayout();
      const auto top = [&](std::size_t i) {
        const QTextBlock b = doc->findBlock(items[i].position);
        const QTextLayout* l = b.layout();
        if (l == nullptr || l->lineCount() == 0) return layout->blockBoundingRect(b).top();
        return layout->blockBoundingRect(b).top() + l->lineAt(0).y();
      };
      const auto bottom = [&](std::size_t i) {
        const QTextBlock b = doc->findBlock(items[i].position);
        const QTextLayout* l = b.layout();
        if (l == nullptr || l->lineCount() == 0) return layout->blockBoundingRect(b).bottom();
        const QTextLine last = l->lineAt(l->lineCount() - 1);
        return layout->blockBoundingRect(b).top() + last.y() + last.height();
      };
      std::size_t i = items.size();
      for (int k = pages; k >= 2 && keep == pages; --k) {
        const qreal pageTop = (k - 1) * page.height();
        while (i > 1 && top(i - 1) >= pageTop) --i;  // i: the first block at or below the page's top
        if (i >= items.size() || i < 1 || top(i) >= pageTop + page.height()) continue;
        if (items[i].table || items[i - 1].table || bottom(i - 1) > pageTop + 0.5) continue;
        keep = k - 1;
        next = g + i;
      }
    }
    for (int p = 1; p <= keep && pageNumber < to; ++p) {
      ++pageNumber;
      if (pageNumber < from) continue;
      if (printed) printer->newPage();
      DrawPage(painter, *doc, p, page, pageNumber, BottomMargin(*printer));
      printed = true;
    }
    g = next;
  }
  painter.end();
}

void RichEdit::SelectAll() {
  setFocus();
  selectAll();
  allSelected_ = windowed_;
}

void RichEdit::CopyToClipboard() {
  if (windowed_ && allSelected_) {
    if (!FinishLoading()) return;
    QApplication::clipboard()->setMimeData(WholeDocumentMimeData());
    return;
  }
  copy();
}

// The whole of a big document as text and RTF (the loaded bytes themselves
// when unedited). The text is the document's plain text: its paragraphs
// joined by line ends; a stretch without tables comes straight from the
// reader's model, one with tables through a QTextDocument.
QMimeData* RichEdit::WholeDocumentMimeData() {
  CommitWindowEdits();
  QString text;
  bool first = true;
  const auto addParagraph = [&](const RtfParagraph& p) {
    if (!first) text += QLatin1Char('\n');
    first = false;
    for (const RtfRun& run : p.runs)
      text += QString::fromUtf8(run.text.data(), static_cast<qsizetype>(run.text.size()));
  };
  const std::size_t total = BlockCount();
  for (std::size_t g = 0; g < total;) {
    const std::size_t n = SliceLength(g, total);
    const std::vector<RtfDocument> parts = content_->Read(g, n);
    bool tables = false;
    for (const RtfDocument& part : parts)
      for (const RtfBlock& b : part.blocks) tables = tables || std::holds_alternative<RtfTable>(b);
    if (tables) {
      const std::unique_ptr<QTextDocument> slice(BuildSlice(g, n, nullptr));
      if (!first) text += QLatin1Char('\n');
      first = false;
      text += slice->toPlainText();
    } else {
      for (const RtfDocument& part : parts)
        for (const RtfBlock& b : part.blocks) addParagraph(std::get<RtfParagraph>(b));
    }
    g += n;
  }
  text.replace(QChar::Nbsp, QLatin1Char(' '));  // as QTextDocument::toPlainText gives it
  const QByteArray rtf = IsModifiedSinceLoad() ? ToRtf() : content_->original->bytes;
  auto* mime = new QMimeData;
  mime->setText(text);
  mime->setData(QStringLiteral("text/rtf"), rtf);
  mime->setData(QStringLiteral("application/rtf"), rtf);
  return mime;
}

std::vector<QString> RichEdit::BlockTexts(std::size_t first, std::size_t count) const {
  std::vector<QString> texts;
  if (!content_) return texts;
  const auto add = [](QString& text, const RtfParagraph& p) {
    for (const RtfRun& run : p.runs) text += QString::fromUtf8(run.text.data(), static_cast<qsizetype>(run.text.size()));
  };
  for (const RtfDocument& part : content_->Read(first, count)) {
    for (const RtfBlock& block : part.blocks) {
      QString text;
      if (const auto* paragraph = std::get_if<RtfParagraph>(&block)) {
        add(text, *paragraph);
      } else {
        for (const RtfTableRow& row : std::get<RtfTable>(block).rows)
          for (const RtfTableCell& cell : row.cells)
            for (const RtfParagraph& p : cell.paragraphs) {
              add(text, p);
              text += QLatin1Char('\n');
            }
      }
      texts.push_back(std::move(text));
    }
  }
  return texts;
}

QMimeData* RichEdit::createMimeDataFromSelection() const {
  QMimeData* mime = QTextEdit::createMimeDataFromSelection();
  const QTextDocumentFragment fragment = textCursor().selection();
  QTextDocument selection;
  selection.setDefaultFont(document()->defaultFont());
  QTextCursor(&selection).insertFragment(fragment);
  const QByteArray rtf = DocumentToRtf(selection, defaultTabTwips_);
  mime->setData(QStringLiteral("text/rtf"), rtf);
  mime->setData(QStringLiteral("application/rtf"), rtf);
  return mime;
}

void RichEdit::SetReadOnly(bool readOnly) {
  setReadOnly(readOnly);
  if (readOnly) setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void RichEdit::SetWordWrap(bool on) {
  setLineWrapMode(on ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
  if (windowBuilder_) windowBuilder_->SetWrap(on);
  ApplyWrapToTables();
  ScheduleWindowCheck();
}

bool RichEdit::WordWrap() const { return lineWrapMode() != QTextEdit::NoWrap; }

// Table columns follow the wrap mode: the widths of their \cellx when lines
// wrap, as wide as their text (and no wrap inside a cell) when not.
void RichEdit::ApplyWrapToTables() {
  QTextDocument* doc = document();
  const bool wasModified = doc->isModified();
  const bool wrap = WordWrap();
  std::vector<QTextTable*> tables;
  std::vector<QTextFrame*> frames{doc->rootFrame()};
  while (!frames.empty()) {
    QTextFrame* frame = frames.back();
    frames.pop_back();
    for (QTextFrame* child : frame->childFrames()) {
      if (auto* table = qobject_cast<QTextTable*>(child)) tables.push_back(table);
      frames.push_back(child);
    }
  }
  if (tables.empty()) return;
  QTextCursor cursor(doc);
  cursor.beginEditBlock();
  for (QTextTable* table : tables) {
    QTextTableFormat tf = table->format();
    const QList<int> edges = tf.property(kTableCellEdgesProperty).value<QList<int>>();
    tf.setColumnWidthConstraints(TableColumnWidths(edges, table->columns(), logicalDpiX(), wrap));
    table->setFormat(tf);
    QTextBlockFormat nowrap;
    nowrap.setNonBreakableLines(!wrap);
    for (QTextBlock b = doc->findBlock(table->firstPosition());
         b.isValid() && b.position() < table->lastPosition(); b = b.next()) {
      QTextCursor(b).mergeBlockFormat(nowrap);
    }
  }
  cursor.endEditBlock();
  doc->setModified(wasModified);
}

QByteArray DocumentToRtf(const QTextDocument& document, int defaultTabTwips) {
  RtfGenerator generator(document.defaultFont());
  generator.Add(document);
  return generator.Finish(defaultTabTwips);
}

}  // namespace velmar
