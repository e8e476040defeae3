#include "platform/rich_edit.h"

#include <QAbstractTextDocumentLayout>
#include <QBrush>
#include <QColor>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QList>
#include <QMimeData>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "texts/cp1251.h"
#include "texts/rtf_reader.h"

namespace velmar {
namespace {

// Properties of a table's format that keep its RTF row definition.
constexpr int kCellEdgesProperty = QTextFormat::UserProperty + 0x5201;  // QList<int>, twips
constexpr int kHalfGapProperty = QTextFormat::UserProperty + 0x5202;    // int, twips

constexpr qint64 kMaxFileBytes = qint64{256} << 20;
constexpr int kDefaultHalfGap = 108;      // twips, when a table has no \trgaph
constexpr int kDefaultCellWidth = 1440;   // twips, for a column without \cellx

qreal TwipsToPixels(int twips, qreal dpi) { return twips * dpi / 1440.0; }

// Column widths of a table: those of its \cellx when lines wrap, else each
// column as wide as its text.
QList<QTextLength> ColumnWidths(const QList<int>& edges, int columns, qreal dpi, bool wrap) {
  QList<QTextLength> widths;
  for (int c = 0; c < columns; ++c) {
    const int width = c < edges.size() ? edges[c] - (c > 0 ? edges[c - 1] : 0) : 0;
    widths.append(wrap && width > 0 ? QTextLength(QTextLength::FixedLength, TwipsToPixels(width, dpi))
                                    : QTextLength(QTextLength::VariableLength, 0));
  }
  return widths;
}

Qt::Alignment ToQt(RtfAlignment a) {
  switch (a) {
    case RtfAlignment::Centre: return Qt::AlignHCenter;
    case RtfAlignment::Right: return Qt::AlignRight;
    case RtfAlignment::Justify: return Qt::AlignJustify;
    case RtfAlignment::Left: break;
  }
  return Qt::AlignLeft;
}

// Builds a QTextDocument from the reader's model with one cursor, caching
// one QTextCharFormat for each distinct character format.

class DocumentBuilder {
 public:
  DocumentBuilder(QTextDocument& document, const RtfDocument& model, qreal dpi, bool wrap)
      : document_(document), model_(model), dpi_(dpi), wrap_(wrap) {}

  void Build() {
    QTextCursor cursor(&document_);
    cursor.beginEditBlock();
    bool fresh = true;  // the cursor's block is empty and not yet used
    for (const RtfBlock& block : model_.blocks) {
      if (const auto* paragraph = std::get_if<RtfParagraph>(&block)) {
        if (fresh) {
          cursor.setBlockFormat(BlockFormat(*paragraph, false));
          cursor.setBlockCharFormat(CharFormat(paragraph->mark));
        } else {
          cursor.insertBlock(BlockFormat(*paragraph, false), CharFormat(paragraph->mark));
        }
        InsertRuns(cursor, *paragraph);
        fresh = false;
      } else {
        // The table goes right after the text so far; the block that
        // follows it takes the next paragraph.
        InsertTable(cursor, std::get<RtfTable>(block));
        cursor.movePosition(QTextCursor::End);
        fresh = true;
      }
    }
    cursor.endEditBlock();
  }

 private:
  QTextCharFormat CharFormat(const RtfCharFormat& f) {
    for (const auto& [key, format] : cache_)
      if (key == f) return format;
    QTextCharFormat q;
    const std::string_view name = model_.FontName(f);
    if (!name.empty())
      q.setFontFamilies(QStringList{QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))});
    if (!name.empty()) {
      // What to fall back on when the face is missing ("Courier New Cyr"
      // on Linux): a font of the same kind, fixed pitch for the signs.
      const RtfFont& font = model_.fonts[static_cast<std::size_t>(f.font)];
      if (font.pitch == 1 || font.family == RtfFontFamily::Modern) {
        q.setFontFixedPitch(true);
        q.setFontStyleHint(QFont::TypeWriter);
      } else if (font.family == RtfFontFamily::Roman) {
        q.setFontStyleHint(QFont::Serif);
      } else if (font.family == RtfFontFamily::Swiss) {
        q.setFontStyleHint(QFont::SansSerif);
      } else if (font.family == RtfFontFamily::Script) {
        q.setFontStyleHint(QFont::Cursive);
      } else if (font.family == RtfFontFamily::Decor) {
        q.setFontStyleHint(QFont::Decorative);
      }
    }
    q.setFontPointSize(f.halfPoints / 2.0);
    if (f.colour) q.setForeground(QColor(f.colour->red, f.colour->green, f.colour->blue));
    q.setFontWeight(f.bold ? QFont::Bold : QFont::Normal);
    q.setFontItalic(f.italic);
    q.setFontUnderline(f.underline);
    cache_.emplace_back(f, q);
    return q;
  }

  QTextBlockFormat BlockFormat(const RtfParagraph& p, bool inTable) const {
    QTextBlockFormat b;
    b.setAlignment(ToQt(p.alignment));
    if (inTable && !wrap_) b.setNonBreakableLines(true);
    return b;
  }

  void InsertRuns(QTextCursor& cursor, const RtfParagraph& p) {
    for (const RtfRun& run : p.runs) {
      QString text = QString::fromUtf8(run.text.data(), static_cast<qsizetype>(run.text.size()));
      text.replace(QLatin1Char('\n'), QChar::LineSeparator);
      cursor.insertText(text, CharFormat(run.format));
    }
  }

  void InsertTable(QTextCursor& cursor, const RtfTable& t) {
    int columns = 0;
    const RtfTableRow* defining = &t.rows.front();  // the row with the most \cellx
    for (const RtfTableRow& row : t.rows) {
      columns = std::max(columns, static_cast<int>(row.cells.size()));
      if (row.cellRightEdges.size() > defining->cellRightEdges.size()) defining = &row;
    }
    const int rows = static_cast<int>(t.rows.size());
    if (columns == 0 || rows == 0) return;

    QList<int> edges(defining->cellRightEdges.begin(), defining->cellRightEdges.end());
    QTextTableFormat tf;
    tf.setBorder(0);
    tf.setCellSpacing(0);
    tf.setCellPadding(0);
    tf.setAlignment(Qt::AlignLeft);
    tf.setProperty(kCellEdgesProperty, QVariant::fromValue(edges));
    tf.setProperty(kHalfGapProperty, defining->halfGap);
    tf.setColumnWidthConstraints(ColumnWidths(edges, columns, dpi_, wrap_));
    QTextTable* table = cursor.insertTable(rows, columns, tf);

    const qreal gap = TwipsToPixels(defining->halfGap, dpi_);
    for (int r = 0; r < rows; ++r) {
      const RtfTableRow& row = t.rows[static_cast<std::size_t>(r)];
      for (int c = 0; c < columns; ++c) {
        QTextTableCell cell = table->cellAt(r, c);
        const RtfTableCell* source =
            c < static_cast<int>(row.cells.size()) ? &row.cells[static_cast<std::size_t>(c)] : nullptr;
        // The cell's format is also the character format of its first
        // paragraph's mark.
        QTextCharFormat cellFormat =
            source ? CharFormat(source->paragraphs.front().mark) : QTextCharFormat();
        cellFormat.setProperty(QTextFormat::TableCellLeftPadding, gap);
        cellFormat.setProperty(QTextFormat::TableCellRightPadding, gap);
        cellFormat.setProperty(QTextFormat::TableCellTopPadding, 0.0);
        cellFormat.setProperty(QTextFormat::TableCellBottomPadding, 0.0);
        cell.setFormat(cellFormat);
        QTextCursor cc = cell.firstCursorPosition();
        if (!source) {
          cc.setBlockFormat(BlockFormat(RtfParagraph{}, true));
          continue;
        }
        bool first = true;
        for (const RtfParagraph& p : source->paragraphs) {
          if (first) cc.setBlockFormat(BlockFormat(p, true));
          else cc.insertBlock(BlockFormat(p, true), CharFormat(p.mark));
          InsertRuns(cc, p);
          first = false;
        }
      }
    }
  }

  QTextDocument& document_;
  const RtfDocument& model_;
  qreal dpi_;
  bool wrap_;
  std::vector<std::pair<RtfCharFormat, QTextCharFormat>> cache_;
};

// Writes a QTextDocument as RTF: the body first, collecting the faces and
// colours it uses, then the font and colour tables in front of it.

class RtfGenerator {
 public:
  explicit RtfGenerator(const QTextDocument& document) {
    const QFont font = document.defaultFont();
    defaultFamily_ = font.family();
    defaultPoints_ = font.pointSizeF() > 0 ? font.pointSizeF() : 12.0;
  }

  QByteArray Generate(const QTextDocument& document, int defaultTabTwips) {
    WriteFrame(*document.rootFrame());
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deftab" +
                     QByteArray::number(std::clamp(defaultTabTwips, 1, 32767));
    out += "\n{\\fonttbl";
    for (qsizetype i = 0; i < fonts_.size(); ++i) {
      out += "{\\f" + QByteArray::number(i) + fontKinds_[i] + "\\fcharset204 ";
      QString name = fonts_[i];
      name.remove(QLatin1Char(';'));
      bool pending = false;
      AppendText(out, name, pending);
      out += ";}";
    }
    out += "}\n{\\colortbl;";
    for (const QColor& c : colours_) {
      out += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green()) +
             "\\blue" + QByteArray::number(c.blue()) + ";";
    }
    out += "}\n\\uc1";
    out += body_;
    out += "\n}";
    return out;
  }

 private:
  struct CharState {
    int font = 0;         // index into fonts_; \deff0
    int halfPoints = 24;  // \fs
    int colour = 0;       // index into the colour table; 0 is "auto"
    bool bold = false;
    bool italic = false;
    bool underline = false;
  };

  void WriteFrame(const QTextFrame& frame) {
    bool afterTable = false;
    for (auto it = frame.begin(); !it.atEnd(); ++it) {
      if (QTextFrame* child = it.currentFrame()) {
        if (auto* table = qobject_cast<QTextTable*>(child)) {
          WriteTable(*table);
          afterTable = true;
        } else {
          WriteFrame(*child);
        }
        continue;
      }
      const QTextBlock block = it.currentBlock();
      if (!block.isValid()) continue;
      // The empty blocks Qt keeps before a table that starts the document
      // and after one that ends it are not paragraphs of their own.
      auto next = it;
      ++next;
      const bool root = &frame == frame.document()->rootFrame();
      const bool empty = block.length() <= 1;
      if (root && empty && afterTable && next.atEnd()) continue;
      if (root && empty && it == frame.begin() && !next.atEnd() &&
          qobject_cast<QTextTable*>(next.currentFrame()) != nullptr)
        continue;
      afterTable = false;
      WriteBlock(block, false, "\\par");
    }
  }

  // Blocks of a table cell, nested frames flattened.
  static void CollectBlocks(QTextFrame::iterator it, std::vector<QTextBlock>& blocks) {
    for (; !it.atEnd(); ++it) {
      if (QTextFrame* child = it.currentFrame()) CollectBlocks(child->begin(), blocks);
      else if (it.currentBlock().isValid()) blocks.push_back(it.currentBlock());
    }
  }

  void WriteTable(const QTextTable& table) {
    const QTextTableFormat tf = table.format();
    const int columns = table.columns();
    QList<int> edges = tf.property(kCellEdgesProperty).value<QList<int>>();
    if (edges.size() > columns) edges.resize(columns);
    while (edges.size() < columns) edges.append((edges.isEmpty() ? 0 : edges.back()) + kDefaultCellWidth);
    const int gap = tf.hasProperty(kHalfGapProperty) ? tf.intProperty(kHalfGapProperty) : kDefaultHalfGap;
    for (int r = 0; r < table.rows(); ++r) {
      body_ += "\n\\trowd\\trgaph" + QByteArray::number(gap);
      for (int edge : edges) body_ += "\\cellx" + QByteArray::number(edge);
      pendingDelimiter_ = true;
      for (int c = 0; c < columns; ++c) {
        const QTextTableCell cell = table.cellAt(r, c);
        std::vector<QTextBlock> blocks;
        if (cell.row() == r && cell.column() == c) CollectBlocks(cell.begin(), blocks);
        if (blocks.empty()) {  // covered by a spanning cell
          body_ += "\n\\pard\\intbl\\cell";
          pendingDelimiter_ = true;
          continue;
        }
        for (std::size_t i = 0; i < blocks.size(); ++i)
          WriteBlock(blocks[i], true, i + 1 < blocks.size() ? "\\par" : "\\cell");
      }
      Word("\\row");
    }
  }

  void WriteBlock(const QTextBlock& block, bool inTable, const char* terminator) {
    body_ += "\n";
    Word("\\pard");
    if (inTable) Word("\\intbl");
    const Qt::Alignment a = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignHCenter) Word("\\qc");
    else if (a & Qt::AlignJustify) Word("\\qj");
    else if (a & Qt::AlignRight) Word("\\qr");
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.isValid()) continue;
      ApplyFormat(fragment.charFormat());
      AppendText(body_, fragment.text(), pendingDelimiter_);
    }
    ApplyFormat(block.charFormat());  // the paragraph mark
    Word(terminator);
  }

  void Word(const char* word) {
    body_ += word;
    pendingDelimiter_ = true;
  }

  void ApplyFormat(const QTextCharFormat& f) {
    CharState s;
    QString family;
    const QStringList families = f.property(QTextFormat::FontFamilies).toStringList();
    if (!families.isEmpty()) family = families.first();
    if (family.isEmpty()) family = f.property(QTextFormat::FontFamily).toString();
    if (family.isEmpty()) family = defaultFamily_;
    s.font = FontIndex(family, f);
    const qreal points = f.fontPointSize() > 0 ? f.fontPointSize() : defaultPoints_;
    s.halfPoints = std::clamp(qRound(points * 2), 1, 3276);
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
      s.colour = ColourIndex(f.foreground().color());
    s.bold = f.fontWeight() > QFont::Medium;
    s.italic = f.fontItalic();
    s.underline = f.fontUnderline() || f.underlineStyle() != QTextCharFormat::NoUnderline;

    if (s.font != state_.font) NumberWord("\\f", s.font);
    if (s.halfPoints != state_.halfPoints) NumberWord("\\fs", s.halfPoints);
    if (s.colour != state_.colour) NumberWord("\\cf", s.colour);
    if (s.bold != state_.bold) Word(s.bold ? "\\b" : "\\b0");
    if (s.italic != state_.italic) Word(s.italic ? "\\i" : "\\i0");
    if (s.underline != state_.underline) Word(s.underline ? "\\ul" : "\\ulnone");
    state_ = s;
  }

  void NumberWord(const char* word, int n) {
    body_ += word;
    body_ += QByteArray::number(n);
    pendingDelimiter_ = true;
  }

  // Index of a face in the font table; a new face is entered with the kind
  // (family and pitch) of the format that first uses it.
  int FontIndex(const QString& family, const QTextCharFormat& f) {
    const auto i = fonts_.indexOf(family);
    if (i >= 0) return static_cast<int>(i);
    fonts_.append(family);
    const auto hint = static_cast<QFont::StyleHint>(f.intProperty(QTextFormat::FontStyleHint));
    if (f.fontFixedPitch() || hint == QFont::TypeWriter || hint == QFont::Monospace)
      fontKinds_.append("\\fmodern\\fprq1");
    else if (hint == QFont::Serif) fontKinds_.append("\\froman\\fprq2");
    else if (hint == QFont::SansSerif) fontKinds_.append("\\fswiss\\fprq2");
    else if (hint == QFont::Cursive) fontKinds_.append("\\fscript");
    else if (hint == QFont::Decorative) fontKinds_.append("\\fdecor");
    else fontKinds_.append("\\fnil");
    return static_cast<int>(fonts_.size() - 1);
  }

  int ColourIndex(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    for (qsizetype i = 0; i < colours_.size(); ++i)
      if (colours_[i].red() == rgb.red() && colours_[i].green() == rgb.green() &&
          colours_[i].blue() == rgb.blue())
        return static_cast<int>(i + 1);
    colours_.append(rgb);
    return static_cast<int>(colours_.size());
  }

  // Text as RTF: Windows-1251 letters as \'hh, other characters as \uN with
  // a '?' fallback, line separators as \line, tabs as \tab. pending says a
  // control word was written last and needs its delimiting blank before text.
  static void AppendText(QByteArray& out, const QString& text, bool& pending) {
    const auto plain = [&](const char* bytes) {
      if (pending) out += ' ';
      pending = false;
      out += bytes;
    };
    const auto symbol = [&](const QByteArray& bytes) {  // needs no delimiter itself
      out += bytes;
      pending = false;
    };
    const auto word = [&](const char* w) {
      out += w;
      pending = true;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
      char32_t c = text[i].unicode();
      if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        c = QChar::surrogateToUcs4(text[i], text[i + 1]);
        ++i;
      }
      if (c == '\\') symbol("\\\\");
      else if (c == '{') symbol("\\{");
      else if (c == '}') symbol("\\}");
      else if (c == '\t') word("\\tab");
      else if (c == QChar::LineSeparator) word("\\line");
      else if (c == QChar::Nbsp) symbol("\\~");
      else if (c < 0x20 || c == 0x7F || c == QChar::ObjectReplacementCharacter ||
               c == QChar::ParagraphSeparator) continue;
      else if (c < 0x80) {
        const char ch[2] = {static_cast<char>(c), '\0'};
        plain(ch);
      } else if (const int byte = cp1251_detail::EncodeScalar(c); byte >= 0) {
        symbol("\\'" + QByteArray::number(byte, 16).rightJustified(2, '0'));
      } else {
        const auto unicode = [&](char32_t unit) {
          const int value = unit > 0x7FFF ? static_cast<int>(unit) - 0x10000 : static_cast<int>(unit);
          symbol("\\u" + QByteArray::number(value) + "?");
        };
        if (c > 0xFFFF) {
          unicode(QChar::highSurrogate(c));
          unicode(QChar::lowSurrogate(c));
        } else {
          unicode(c);
        }
      }
    }
  }

  QString defaultFamily_;
  qreal defaultPoints_ = 12.0;
  QStringList fonts_;
  QList<QByteArray> fontKinds_;  // family and pitch words of each face, parallel to fonts_
  QList<QColor> colours_;
  QByteArray body_;
  CharState state_;
  bool pendingDelimiter_ = false;
};

}  // namespace

QByteArray DocumentToRtf(const QTextDocument& document, int defaultTabTwips) {
  return RtfGenerator(document).Generate(document, defaultTabTwips);
}

RichEdit::RichEdit(QWidget* parent) : QTextEdit(parent) {
  setAcceptRichText(true);
  setLineWrapMode(QTextEdit::WidgetWidth);
  setWordWrapMode(QTextOption::WordWrap);  // never inside a word, in table cells neither
  setTabStopDistance(TwipsToPixels(defaultTabTwips_, logicalDpiX()));
}

bool RichEdit::LoadFromFile(const QString& path) {
  Clear();
  QFile file(path);
  if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return false;
  if (file.size() > kMaxFileBytes) return false;
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return false;
  LoadFromBytes(bytes);
  return true;
}

void RichEdit::LoadFromBytes(const QByteArray& rtf) {
  Clear();
  const RtfDocument model =
      ReadRtf(std::string_view(rtf.constData(), static_cast<std::size_t>(rtf.size())));
  defaultTabTwips_ = model.defaultTab;

  // The document is built apart and then handed to the view: Qt lays a new
  // document out lazily, as far as it is shown, where changing the shown one
  // would lay out all of it at once (a year's calendar takes several times
  // longer so).
  QTextDocument* previous = document();
  auto* doc = new QTextDocument(this);
  doc->setDefaultFont(previous->defaultFont());
  doc->setDocumentMargin(previous->documentMargin());
  doc->setUndoRedoEnabled(false);
  DocumentBuilder(*doc, model, logicalDpiX(), WordWrap()).Build();
  doc->setUndoRedoEnabled(true);
  const bool previousIsOurs = previous->parent() == this;
  setDocument(doc);
  if (previousIsOurs) delete previous;  // Qt deletes only the one it made itself
  setTabStopDistance(TwipsToPixels(defaultTabTwips_, logicalDpiX()));
  doc->setModified(false);
  moveCursor(QTextCursor::Start);
  loaded_ = rtf;
  hasLoaded_ = true;
}

QByteArray RichEdit::CurrentRtf() const { return hasLoaded_ && !IsModifiedSinceLoad() ? loaded_ : ToRtf(); }

bool RichEdit::SaveToFile(const QString& path) {
  const QByteArray bytes = CurrentRtf();
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

QByteArray RichEdit::ToRtf() const { return DocumentToRtf(*document(), defaultTabTwips_); }

void RichEdit::Print(QPrinter* printer, const QString& jobTitle) {
  if (printer == nullptr) return;
  printer->setDocName(jobTitle);
  if (printer->pageLayout().margins(QPageLayout::Millimeter).isNull())
    printer->setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);

  // Lay a copy out on the printer's pages: the same text at the printer's
  // resolution, page by page, and nothing added (no page numbers).
  const std::unique_ptr<QTextDocument> copy(document()->clone());
  QPainter painter;
  if (!painter.begin(printer)) return;
  QAbstractTextDocumentLayout* layout = copy->documentLayout();
  layout->setPaintDevice(painter.device());
  const QSizeF page = printer->pageRect(QPrinter::DevicePixel).size();
  copy->setPageSize(page);
  const int pages = std::max(copy->pageCount(), 1);
  int from = printer->fromPage();
  int to = printer->toPage();
  if (from <= 0 && to <= 0) {
    from = 1;
    to = pages;
  }
  from = std::clamp(from, 1, pages);
  to = std::clamp(to, from, pages);
  for (int p = from; p <= to; ++p) {
    const QRectF view(0, (p - 1) * page.height(), page.width(), page.height());
    painter.save();
    painter.translate(0, -view.top());
    painter.setClipRect(view);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = view;
    context.palette.setColor(QPalette::Text, Qt::black);
    layout->draw(&painter, context);
    painter.restore();
    if (p < to) printer->newPage();
  }
  painter.end();
}

void RichEdit::SelectAll() {
  setFocus();
  selectAll();
}

void RichEdit::CopyToClipboard() { copy(); }

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
  ApplyWrapToTables();
}

bool RichEdit::WordWrap() const { return lineWrapMode() != QTextEdit::NoWrap; }

void RichEdit::Clear() {
  clear();
  loaded_.clear();
  hasLoaded_ = false;
  document()->setModified(false);
}

bool RichEdit::IsModifiedSinceLoad() const { return document()->isModified(); }

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
    const QList<int> edges = tf.property(kCellEdgesProperty).value<QList<int>>();
    tf.setColumnWidthConstraints(ColumnWidths(edges, table->columns(), logicalDpiX(), wrap));
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

}  // namespace velmar
