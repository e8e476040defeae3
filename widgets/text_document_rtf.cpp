#include "widgets/text_document_rtf.h"

#include <QBrush>
#include <QFont>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>
#include <string_view>

#include "calendar/cp1251.h"

namespace velmar {
namespace {

constexpr int kDefaultHalfGap = 108;      // twips, when a table has no \trgaph
constexpr int kDefaultCellWidth = 1440;   // twips, for a column without \cellx

qreal TwipsToPixels(int twips, qreal dpi) { return twips * dpi / 1440.0; }

Qt::Alignment ToQt(RtfAlignment a) {
  switch (a) {
    case RtfAlignment::Centre: return Qt::AlignHCenter;
    case RtfAlignment::Right: return Qt::AlignRight;
    case RtfAlignment::Justify: return Qt::AlignJustify;
    case RtfAlignment::Left: break;
  }
  return Qt::AlignLeft;
}

// Text as RTF: Windows-1251 letters as \'hh, other characters as \uN with a
// '?' fallback, line separators as \line, tabs as \tab. pending says a
// control word was written last and needs its delimiting blank before text.
void AppendText(QByteArray& out, const QString& text, bool& pending) {
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

// Blocks of a table cell, nested frames flattened.
void CollectBlocks(QTextFrame::iterator it, std::vector<QTextBlock>& blocks) {
  for (; !it.atEnd(); ++it) {
    if (QTextFrame* child = it.currentFrame()) CollectBlocks(child->begin(), blocks);
    else if (it.currentBlock().isValid()) blocks.push_back(it.currentBlock());
  }
}

}  // namespace

QList<QTextLength> TableColumnWidths(const QList<int>& edges, int columns, qreal dpi, bool wrap) {
  QList<QTextLength> widths;
  for (int c = 0; c < columns; ++c) {
    const int width = c < edges.size() ? edges[c] - (c > 0 ? edges[c - 1] : 0) : 0;
    widths.append(wrap && width > 0 ? QTextLength(QTextLength::FixedLength, TwipsToPixels(width, dpi))
                                    : QTextLength(QTextLength::VariableLength, 0));
  }
  return widths;
}

// Building

TextDocumentBuilder::TextDocumentBuilder(QTextDocument& document, qreal dpi, bool wrap)
    : document_(document), dpi_(dpi), wrap_(wrap), lastBlockFree_(document.isEmpty()) {}

std::vector<TextDocumentItem> TextDocumentBuilder::Append(const RtfDocument& model) {
  cache_.clear();  // the font indices are the model's
  std::vector<TextDocumentItem> items;
  items.reserve(model.blocks.size());
  QTextCursor cursor(&document_);
  cursor.movePosition(QTextCursor::End);
  cursor.beginEditBlock();
  for (const RtfBlock& block : model.blocks) {
    if (const auto* paragraph = std::get_if<RtfParagraph>(&block)) {
      if (lastBlockFree_) {
        cursor.setBlockFormat(BlockFormat(*paragraph, false));
        cursor.setBlockCharFormat(CharFormat(model, paragraph->mark));
      } else {
        cursor.insertBlock(BlockFormat(*paragraph, false), CharFormat(model, paragraph->mark));
      }
      items.push_back({cursor.block().position(), false});
      InsertRuns(model, cursor, *paragraph);
      lastBlockFree_ = false;
    } else {
      // The table goes right after the text so far; the block that follows
      // it takes the next paragraph.
      QTextTable* table = InsertTable(model, cursor, std::get<RtfTable>(block));
      if (table != nullptr) items.push_back({table->firstPosition(), true});
      cursor.movePosition(QTextCursor::End);
      lastBlockFree_ = true;
    }
  }
  cursor.endEditBlock();
  return items;
}

QTextCharFormat TextDocumentBuilder::CharFormat(const RtfDocument& model, const RtfCharFormat& f) {
  for (const auto& [key, format] : cache_)
    if (key == f) return format;
  QTextCharFormat q;
  const std::string_view name = model.FontName(f);
  if (!name.empty()) {
    q.setFontFamilies(QStringList{QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))});
    // What to fall back on when the face is missing ("Courier New Cyr" on
    // Linux): a font of the same kind, fixed pitch for the signs.
    const RtfFont& font = model.fonts[static_cast<std::size_t>(f.font)];
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

QTextBlockFormat TextDocumentBuilder::BlockFormat(const RtfParagraph& p, bool inTable) const {
  QTextBlockFormat b;
  b.setAlignment(ToQt(p.alignment));
  if (inTable && !wrap_) b.setNonBreakableLines(true);
  return b;
}

void TextDocumentBuilder::InsertRuns(const RtfDocument& model, QTextCursor& cursor, const RtfParagraph& p) {
  for (const RtfRun& run : p.runs) {
    QString text = QString::fromUtf8(run.text.data(), static_cast<qsizetype>(run.text.size()));
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    cursor.insertText(text, CharFormat(model, run.format));
  }
}

QTextTable* TextDocumentBuilder::InsertTable(const RtfDocument& model, QTextCursor& cursor, const RtfTable& t) {
  int columns = 0;
  const RtfTableRow* defining = &t.rows.front();  // the row with the most \cellx
  for (const RtfTableRow& row : t.rows) {
    columns = std::max(columns, static_cast<int>(row.cells.size()));
    if (row.cellRightEdges.size() > defining->cellRightEdges.size()) defining = &row;
  }
  const int rows = static_cast<int>(t.rows.size());
  if (columns == 0 || rows == 0) return nullptr;

  QList<int> edges(defining->cellRightEdges.begin(), defining->cellRightEdges.end());
  QTextTableFormat tf;
  tf.setBorder(0);
  tf.setCellSpacing(0);
  tf.setCellPadding(0);
  tf.setAlignment(Qt::AlignLeft);
  tf.setProperty(kTableCellEdgesProperty, QVariant::fromValue(edges));
  tf.setProperty(kTableHalfGapProperty, defining->halfGap);
  tf.setColumnWidthConstraints(TableColumnWidths(edges, columns, dpi_, wrap_));
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
          source ? CharFormat(model, source->paragraphs.front().mark) : QTextCharFormat();
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
        else cc.insertBlock(BlockFormat(p, true), CharFormat(model, p.mark));
        InsertRuns(model, cc, p);
        first = false;
      }
    }
  }
  return table;
}

// Writing

RtfGenerator::RtfGenerator(const QFont& defaultFont) {
  defaultFamily_ = defaultFont.family();
  defaultPoints_ = defaultFont.pointSizeF() > 0 ? defaultFont.pointSizeF() : 12.0;
}

void RtfGenerator::Add(const QTextDocument& document) { WriteFrame(*document.rootFrame()); }

QByteArray RtfGenerator::Finish(int defaultTabTwips) {
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
  body_.clear();
  return out;
}

void RtfGenerator::WriteFrame(const QTextFrame& frame) {
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

void RtfGenerator::WriteTable(const QTextTable& table) {
  const QTextTableFormat tf = table.format();
  const int columns = table.columns();
  QList<int> edges = tf.property(kTableCellEdgesProperty).value<QList<int>>();
  if (edges.size() > columns) edges.resize(columns);
  while (edges.size() < columns) edges.append((edges.isEmpty() ? 0 : edges.back()) + kDefaultCellWidth);
  const int gap = tf.hasProperty(kTableHalfGapProperty) ? tf.intProperty(kTableHalfGapProperty) : kDefaultHalfGap;
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

void RtfGenerator::WriteBlock(const QTextBlock& block, bool inTable, const char* terminator) {
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

void RtfGenerator::Word(const char* word) {
  body_ += word;
  pendingDelimiter_ = true;
}

void RtfGenerator::NumberWord(const char* word, int n) {
  body_ += word;
  body_ += QByteArray::number(n);
  pendingDelimiter_ = true;
}

void RtfGenerator::ApplyFormat(const QTextCharFormat& f) {
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

// Index of a face in the font table; a new face is entered with the kind
// (family and pitch) of the format that first uses it.
int RtfGenerator::FontIndex(const QString& family, const QTextCharFormat& f) {
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

int RtfGenerator::ColourIndex(const QColor& colour) {
  const QColor rgb = colour.toRgb();
  for (qsizetype i = 0; i < colours_.size(); ++i)
    if (colours_[i].red() == rgb.red() && colours_[i].green() == rgb.green() &&
        colours_[i].blue() == rgb.blue())
      return static_cast<int>(i + 1);
  colours_.append(rgb);
  return static_cast<int>(colours_.size());
}

}  // namespace velmar
