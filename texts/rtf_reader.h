#pragma once
// Reading Rich Text Format into a small document model.
//
// A tokenizer splits the bytes into groups, control words, control symbols,
// hex escapes and text; the reader keeps a stack of group states (character
// and paragraph formatting, the destination the text goes to, the \uc count)
// and builds an RtfDocument: a sequence of paragraphs and tables. It reads
// what our own writers produce (Windows-1251 bytes unescaped, fonts with
// \fcharset204) and the usual output of other writers: \'hh and \uN escapes,
// font and colour tables, tables of \trowd/\cellx/\intbl/\cell/\row rows;
// it skips ignorable destinations (\*, \info, \stylesheet, \pict, headers
// and footers, ...) and control words it does not know. \page and \sect end
// a paragraph; the cells of nested tables are flattened into their cell's text.
//
// The reader never fails: whatever the bytes (unbalanced braces, a
// truncated file, binary data, very deep nesting), it returns what it could
// read, and lists the problems it met, each with its byte position.
// Data that does not start with "{\rtf" is read as plain Windows-1251 text,
// one paragraph a line.
//
// Text in the model is UTF-8.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace velmar {

// Groups nested deeper than this are read as if their braces weren't there.
inline constexpr int kRtfMaxGroupDepth = 1000;

// At most this many problems are listed; one TooManyProblems then ends the list.
inline constexpr std::size_t kRtfMaxProblems = 1000;

// A document that would need more than this many paragraphs, runs, cells and
// rows together is read up to that point (problem TooLarge).
inline constexpr std::size_t kRtfMaxElements = 2'000'000;

// A stretch read from an RtfBlockIndex holds at most this many bytes of text
// (UTF-8); one with more is read up to there.
inline constexpr std::size_t kRtfMaxStretchText = std::size_t{8} << 20;

struct RtfColour {
  std::uint8_t red = 0, green = 0, blue = 0;
  friend bool operator==(const RtfColour&, const RtfColour&) = default;
};

// Font family of a font table entry (\fnil, \froman, \fswiss, ...): what a
// reader falls back on when the face itself is missing.
enum class RtfFontFamily { Nil, Roman, Swiss, Modern, Script, Decor, Tech };

// An entry of the font table.
struct RtfFont {
  std::string name;  // face name, UTF-8, without the closing ';'
  int charset = 1;   // \fcharset: 0 ANSI, 1 default, 2 symbol, 204 Cyrillic, ...
  RtfFontFamily family = RtfFontFamily::Nil;
  int pitch = 0;     // \fprq: 0 default, 1 fixed, 2 variable
  friend bool operator==(const RtfFont&, const RtfFont&) = default;
};

struct RtfCharFormat {
  int font = -1;                    // index into RtfDocument::fonts; -1: none known
  int halfPoints = 24;              // font size in half-points, 1..3276
  std::optional<RtfColour> colour;  // nullopt: the default text colour ("auto")
  bool bold = false;
  bool italic = false;
  bool underline = false;
  friend bool operator==(const RtfCharFormat&, const RtfCharFormat&) = default;
};

// A piece of a paragraph in one format. The text may hold '\t' (tab) and
// '\n' (a line break inside the paragraph, \line).
struct RtfRun {
  std::string text;  // UTF-8, never empty
  RtfCharFormat format;
};

enum class RtfAlignment { Left, Centre, Right, Justify };

struct RtfParagraph {
  std::vector<RtfRun> runs;  // adjacent runs always differ in format
  RtfCharFormat mark;        // format in effect at the paragraph's end (sets
                             // the height of an empty paragraph)
  RtfAlignment alignment = RtfAlignment::Left;
};

struct RtfTableCell {
  std::vector<RtfParagraph> paragraphs;  // at least one
};

struct RtfTableRow {
  std::vector<RtfTableCell> cells;
  std::vector<int> cellRightEdges;  // \cellx of the row definition, twips from
                                    // the left margin; may be fewer than cells
  int halfGap = 0;                  // \trgaph: half the space between cells, twips
};

struct RtfTable {
  std::vector<RtfTableRow> rows;  // at least one
};

using RtfBlock = std::variant<RtfParagraph, RtfTable>;

struct RtfDocument {
  std::vector<RtfBlock> blocks;
  std::vector<RtfFont> fonts;  // the font table in its order
  int defaultTab = 720;        // \deftab, twips

  // Face name of a format's font, or "" when it has none.
  std::string_view FontName(const RtfCharFormat& format) const;
};

enum class RtfProblemKind {
  NotRtf,              // the data does not start with "{\rtf"; read as plain text
  UnclosedGroup,       // the data ends inside a group (position: the end)
  TooDeep,             // a group deeper than kRtfMaxGroupDepth; its braces ignored
  BadHexEscape,        // "\'" without two hexadecimal digits
  BadBinary,           // "\binN" with N negative or past the end of the data
  ControlWordTooLong,  // a control word or its parameter is too long; truncated
  ControlByte,         // a control byte (NUL, ...) in the text; ignored
  UnfinishedRow,       // table cells without the \row that ends them
  TrailingData,        // text (or "}") after the document's closing "}"; ignored
  TooLarge,            // the document exceeds kRtfMaxElements; read up to there
  TooManyProblems,     // more problems than kRtfMaxProblems; the rest not listed
  CannotRead,          // the file can't be opened or read (ReadRtfFile)
};

struct RtfProblem {
  std::size_t position = 0;  // byte offset into the data
  RtfProblemKind kind = RtfProblemKind::NotRtf;
  friend bool operator==(const RtfProblem&, const RtfProblem&) = default;
};

// Short English name of a problem kind ("unclosed group").
std::string_view RtfProblemName(RtfProblemKind kind);

// Reads RTF bytes. Problems are appended to *problems when it is given.
RtfDocument ReadRtf(std::string_view bytes, std::vector<RtfProblem>* problems = nullptr);

// A document read a stretch at a time, for showing a part of a big one
// without a model of all of it. A scan runs through the document in steps
// (Advance), counting its top-level blocks (paragraphs and tables, as in
// RtfDocument::blocks) and noting a checkpoint, the reader's whole state, at
// a paragraph's end every 64 KiB or so; any stretch of the blocks found can
// then be read from the checkpoint before it (Read). The blocks of all
// stretches together are those ReadRtf gives (up to its limit on size, which
// applies to each stretch instead). The index keeps a view of the bytes: they
// must outlive it unchanged. The bytes may arrive in order while the scan
// goes on: the scan then stops where they end so far (SetAvailable).
class RtfBlockIndex {
 public:
  explicit RtfBlockIndex(std::string_view bytes);
  // Only the first `available` bytes are there yet.
  RtfBlockIndex(std::string_view bytes, std::size_t available);

  // More of the bytes are there (never fewer); Available() says how many.
  void SetAvailable(std::size_t available);
  std::size_t Available() const;
  ~RtfBlockIndex();
  RtfBlockIndex(const RtfBlockIndex&) = delete;
  RtfBlockIndex& operator=(const RtfBlockIndex&) = delete;

  // Scans about `budget` more bytes (at least one token or line, when
  // available). Returns Complete().
  bool Advance(std::size_t budget);
  bool Complete() const;

  // Bytes scanned so far, of Size().
  std::size_t BytesScanned() const;
  std::size_t Size() const;

  // Blocks complete so far; all of them once Complete().
  std::size_t BlockCount() const;

  // The \deftab of the document (720 until the scan has seen it).
  int DefaultTab() const;

  // Blocks [first, first + count) of those found so far, with the font table
  // and \deftab in effect; fewer when the stretch exceeds kRtfMaxElements or
  // kRtfMaxStretchText (it is read up to there: a block as long as a whole
  // document shows its beginning) or runs past BlockCount().
  RtfDocument Read(std::size_t first, std::size_t count) const;

 private:
  struct Scan;
  std::unique_ptr<Scan> scan_;
};

// Reads an RTF file of at most maxBytes bytes. Returns nullopt (and the
// problem CannotRead, or TooLarge for a bigger file) when it can't be read.
std::optional<RtfDocument> ReadRtfFile(const std::string& path,
                                       std::vector<RtfProblem>* problems = nullptr,
                                       std::size_t maxBytes = std::size_t{256} << 20);

}  // namespace velmar
