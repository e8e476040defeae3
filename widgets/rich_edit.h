#pragma once
// RichEdit: the rich-text control that shows our RTF documents.
//
// Loading reads the RTF bytes with the core's reader (texts/rtf_reader) and
// builds a QTextDocument from its model: paragraphs with their fonts, sizes,
// colours, bold, italic and underline, and tables. The loaded bytes are
// kept: saving an unedited document writes them back unchanged; after an
// edit, RTF is generated from the document (Windows-1251 text, fonts with
// \fcharset204, a colour table, tables) and reads back through the same
// reader to the same text and formatting. Printing lays the document out on
// the printer's pages, with margins of at least 15 mm and the page's number
// under each; copying puts the selection on the clipboard as HTML, RTF
// ("text/rtf") and plain text.
//
// Big documents. A document of up to WholeDocumentBytes() is built whole
// while it loads. A bigger one is shown a stretch at a time: the load reads
// the bytes, scans the first MiB for where its blocks (paragraphs and tables)
// begin, shows the top at once and scans the rest in steps on the event
// loop (LoadProgress, IsLoading). Only a window of some thousand blocks
// around what is on screen is a QTextDocument; it moves as the user scrolls,
// and a scroll bar of the control's own spans the whole document (in
// blocks). Memory is the bytes, some checkpoints of the scan and the window.
// While a load goes on, the control can be scrolled, selected, copied and
// edited as far as it is scanned; FinishLoading waits for the rest. Select
// all selects the whole document; copying it, printing and saving an edited
// document go through the whole document a slice at a time (ForEachSlice).
// Edits made in the window are kept when it moves on (as RTF of the edited
// stretch); the undo history then starts afresh.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QTextEdit>
#include <QTimer>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QMimeData;
class QPrinter;
class QScrollBar;
class QTextDocument;

namespace velmar {

class TextDocumentBuilder;
struct TextDocumentItem;

class RichEdit : public QTextEdit {
  Q_OBJECT

 public:
  // Why the last LoadFromFile failed, or its load ended early (FileChanged:
  // the file was written anew before all of it was read; what was read
  // stays shown).
  enum class LoadFailure { None, CannotRead, TooLarge, OutOfMemory, FileChanged };

  explicit RichEdit(QWidget* parent = nullptr);
  ~RichEdit() override;

  // Clears, reads the RTF file and shows it. False (and the control left
  // empty) when the file can't be read, is bigger than MaxLoadBytes() or
  // doesn't fit in memory: LastLoadFailure() says which. Loading the file
  // that is shown again, unchanged (same size, time and bytes at both ends)
  // and unedited, keeps what is shown and the load going on, and returns
  // to the top: the result of loading it anew, without the work.
  bool LoadFromFile(const QString& path);
  LoadFailure LastLoadFailure() const { return lastFailure_; }

  // Clears and shows RTF bytes (anything else shows as plain text).
  void LoadFromBytes(const QByteArray& rtf);

  // The biggest file LoadFromFile takes, and the biggest document that is
  // built whole while it loads.
  static qint64 MaxLoadBytes();
  static qint64 WholeDocumentBytes();

  // True while the scan of a big document goes on.
  bool IsLoading() const;

  // Percent of the document read and scanned: 100 when no load goes on.
  int LoadPercent() const;

  // Completes the load, showing its progress (LoadProgress) and processing
  // events meanwhile, so that the window stays alive. Returns whether the
  // whole document is in: false when a newer load or Clear replaced it
  // meanwhile. Returns at once when nothing is loading.
  bool FinishLoading();

  // True when the QTextDocument holds the whole document; false while it
  // holds a window of a big one.
  bool HoldsWholeDocument() const { return !windowed_; }

  // Calls slice with the whole document in order: the document itself when
  // it is whole, else QTextDocuments of some thousand blocks each (edits
  // included). Stops and returns false when slice does; true otherwise.
  // Covers what is loaded: call FinishLoading first.
  bool ForEachSlice(const std::function<bool(const QTextDocument& slice)>& slice);

  // Writes the loaded bytes unchanged when nothing was edited since the
  // load, else ToRtf(). Atomic: the file is replaced only when the whole
  // document was written. False on failure (the old file is then kept).
  // A document still loading is completed first (FinishLoading); false
  // when a newer load replaced it meanwhile or its file changed before it
  // was all read.
  bool SaveToFile(const QString& path);

  // RTF generated from the current document (of what is loaded).
  QByteArray ToRtf() const;

  // The document as RTF: the loaded bytes when nothing was edited since the
  // load, else ToRtf().
  QByteArray CurrentRtf() const;

  // Prints the whole document (or the printer's page range) with jobTitle
  // as the document name, each page numbered in its bottom margin; a margin
  // below 15 mm becomes 20 mm. Completes a load first.
  void Print(QPrinter* printer, const QString& jobTitle);

  // Gives the control the focus and selects all its text (all of a big
  // document, also the part still loading).
  void SelectAll();

  // What Find did: nothing found; found after the cursor (before it,
  // backwards); found only past the document's end (its start), from the
  // other end on.
  enum class FindResult { NotFound, Found, Wrapped };

  // Looks for text, case-insensitively and within a paragraph or a table
  // cell, from the cursor on (backwards: before it), round the document's
  // end to its start; selects what it found and scrolls it into view. A big
  // document is searched whole, as far as it is loaded (rich_edit_find.cpp).
  FindResult Find(const QString& text, bool backward = false);

  // Copies the selection (nothing when there is none). After SelectAll, a
  // big document is completed first and copied whole, as RTF and text.
  void CopyToClipboard();

  // Read-only still lets the user select and copy, by mouse and keyboard.
  void SetReadOnly(bool readOnly);

  // On: lines wrap at the control's width; off: no line wraps, table cells
  // neither (their columns take the width of their text).
  void SetWordWrap(bool on);
  bool WordWrap() const;

  // Empties the control, forgets the loaded bytes and stops a load.
  void Clear();

  // True when the text or its formatting changed since the last load.
  bool IsModifiedSinceLoad() const;

 signals:
  // The scan of a big document went on: percent of it done, 0..100.
  void LoadProgress(int percent);
  // The scan ended (complete) or was given up for a newer load (not).
  void LoadFinished(bool complete);

 protected:
  QMimeData* createMimeDataFromSelection() const override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct Content;
  struct Source;
  struct FileStamp {
    QString path;
    qint64 size = -1;
    QDateTime modified;
    QString identity;  // device and inode, where the system has them
  };

  void ApplyWrapToTables();
  bool SameFileUnchanged(const QString& path) const;
  void StartLoad(std::shared_ptr<Source> source);
  void ScanStep();
  void EndScan(bool complete);
  QTextDocument* NewDocument();
  void ShowDocument(QTextDocument* doc);

  // The window of a big document.
  void EnterWindowedMode();
  void LeaveWindowedMode();
  std::size_t BlockCount() const;
  void BuildWindow(std::size_t first, std::size_t count);
  void AppendToWindow(std::size_t count);
  void TrimWindowTop(std::size_t count);
  std::size_t WindowItemAt(int position) const;
  qreal WindowItemTop(std::size_t i) const;
  std::size_t WindowItemAtY(qreal y) const;
  std::size_t TopWindowItem() const;
  std::size_t BottomWindowItem() const;
  void ShowBlockAtTop(std::size_t block, int offset = 0);
  void CommitWindowEdits();
  void ScheduleWindowCheck();
  void CheckWindow();
  void UpdateBlockScrollBar();
  void PlaceBlockScrollBar();
  void BlockScrollBarMoved();
  void KeepAllSelected();
  QTextDocument* BuildSlice(std::size_t first, std::size_t count, std::vector<TextDocumentItem>* items) const;
  std::size_t SliceLength(std::size_t first, std::size_t total) const;
  bool ForEachSliceOfContent(const std::function<bool(const QTextDocument&)>& slice) const;
  QMimeData* WholeDocumentMimeData();
  void PrintDocument(QPrinter* printer, QTextDocument& doc);
  void PrintSlices(QPrinter* printer);
  // The first block outside the window that holds text, from the window's
  // end on round to its start (backwards: from its start back); none when
  // no block outside it does.
  std::optional<std::size_t> FindBlockBeyondWindow(const QString& text, bool backward) const;
  // The plain text of blocks [first, first + count) of the whole document,
  // one string a block (a table's cells one a line).
  std::vector<QString> BlockTexts(std::size_t first, std::size_t count) const;

  std::unique_ptr<Content> content_;
  bool hasLoaded_ = false;
  int defaultTabTwips_ = 720;
  LoadFailure lastFailure_ = LoadFailure::None;
  FileStamp stamp_;
  quint64 generation_ = 0;  // of the load; a new load or Clear changes it
  QTimer scanTimer_;

  bool windowed_ = false;
  std::size_t windowFirst_ = 0;        // the window: blocks [first, first + items)
  std::vector<int> windowStarts_;      // where each of its blocks starts in document()
  std::vector<bool> windowTables_;     // which of them are tables
  std::unique_ptr<TextDocumentBuilder> windowBuilder_;
  bool changingWindow_ = false;
  bool updatingBar_ = false;
  bool windowCheckPending_ = false;
  bool allSelected_ = false;
  Qt::ScrollBarPolicy innerBarPolicy_ = Qt::ScrollBarAsNeeded;
  QScrollBar* blockBar_ = nullptr;     // the whole document, in blocks
  QTimer blockBarTimer_;
};

// RTF of a whole QTextDocument, as RichEdit::ToRtf writes it.
QByteArray DocumentToRtf(const QTextDocument& document, int defaultTabTwips = 720);

}  // namespace velmar
