#pragma once
// Between the RTF reader's model and Qt's QTextDocument, both ways.
//
// TextDocumentBuilder appends the blocks of reader models to the end of a
// QTextDocument: paragraphs with their fonts, sizes, colours, bold, italic
// and underline, and tables (their columns as wide as their \cellx when lines
// wrap, as wide as their text when not). A document can be built in pieces,
// each piece appended after the last.
//
// RtfGenerator writes documents as one RTF document: Windows-1251 text,
// fonts with \fcharset204, a colour table, tables. Several documents given
// one after the other make one RTF body, so that a long text can be written
// a slice at a time; the font and colour tables go in front at the end.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QColor>
#include <utility>
#include <vector>

#include "texts/rtf_reader.h"

class QFont;
class QTextBlock;
class QTextDocument;
class QTextFrame;
class QTextTable;

namespace velmar {

// Where a block of a model starts in the document built from it, and what
// it is.
struct TextDocumentItem {
  int position = 0;  // of its paragraph, or of the first cell of its table
  bool table = false;
};

class TextDocumentBuilder {
 public:
  // dpi turns the twips of table columns into pixels; wrap as above.
  TextDocumentBuilder(QTextDocument& document, qreal dpi, bool wrap);

  // Appends the blocks of model after what the document holds: the first
  // paragraph goes into the document's last block when that is still free
  // (an empty document, or the empty block after a table this builder put
  // last). Returns the items of these blocks, in order.
  std::vector<TextDocumentItem> Append(const RtfDocument& model);

  void SetWrap(bool wrap) { wrap_ = wrap; }

 private:
  QTextCharFormat CharFormat(const RtfDocument& model, const RtfCharFormat& f);
  QTextBlockFormat BlockFormat(const RtfParagraph& p, bool inTable) const;
  void InsertRuns(const RtfDocument& model, QTextCursor& cursor, const RtfParagraph& p);
  QTextTable* InsertTable(const RtfDocument& model, QTextCursor& cursor, const RtfTable& t);

  QTextDocument& document_;
  qreal dpi_;
  bool wrap_;
  bool lastBlockFree_;
  std::vector<std::pair<RtfCharFormat, QTextCharFormat>> cache_;  // of the model being appended
};

// Column widths of a table: those of its \cellx (twips, right edges) when
// lines wrap, else each column as wide as its text.
QList<QTextLength> TableColumnWidths(const QList<int>& edges, int columns, qreal dpi, bool wrap);

// The property of a table's format that keeps its \cellx, and the one that
// keeps its \trgaph, for writing it back.
inline constexpr int kTableCellEdgesProperty = QTextFormat::UserProperty + 0x5201;  // QList<int>, twips
inline constexpr int kTableHalfGapProperty = QTextFormat::UserProperty + 0x5202;    // int, twips

class RtfGenerator {
 public:
  // The font of text without a family or size of its own.
  explicit RtfGenerator(const QFont& defaultFont);

  // Writes the body of a document after what the documents given before
  // wrote. The empty block Qt keeps before a table that starts a document
  // and after one that ends it is not a paragraph of its own.
  void Add(const QTextDocument& document);

  // The whole RTF document: prologue, font and colour tables, the bodies,
  // "\n}". The generator is spent afterwards.
  QByteArray Finish(int defaultTabTwips);

 private:
  struct CharState {
    int font = 0;         // index into fonts_; \deff0
    int halfPoints = 24;  // \fs
    int colour = 0;       // index into the colour table; 0 is "auto"
    bool bold = false;
    bool italic = false;
    bool underline = false;
  };

  void WriteFrame(const QTextFrame& frame);
  void WriteTable(const QTextTable& table);
  void WriteBlock(const QTextBlock& block, bool inTable, const char* terminator);
  void Word(const char* word);
  void NumberWord(const char* word, int n);
  void ApplyFormat(const QTextCharFormat& f);
  int FontIndex(const QString& family, const QTextCharFormat& f);
  int ColourIndex(const QColor& colour);

  QString defaultFamily_;
  qreal defaultPoints_ = 12.0;
  QStringList fonts_;
  QList<QByteArray> fontKinds_;  // family and pitch words of each face, parallel to fonts_
  QList<QColor> colours_;
  QByteArray body_;
  CharState state_;
  bool pendingDelimiter_ = false;
};

}  // namespace velmar
