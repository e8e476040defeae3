#include "texts/rtf_reader.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <system_error>
#include <unordered_map>
#include <utility>

#include "calendar/cp1251.h"

namespace velmar {
namespace {

// The problem list, bounded by kRtfMaxProblems.

class ProblemLog {
 public:
  explicit ProblemLog(std::vector<RtfProblem>* out) : out_(out) {}

  void Add(RtfProblemKind kind, std::size_t position) {
    if (out_ == nullptr || count_ > kRtfMaxProblems) return;
    ++count_;
    if (count_ > kRtfMaxProblems) kind = RtfProblemKind::TooManyProblems;
    out_->push_back({position, kind});
  }

 private:
  std::vector<RtfProblem>* out_;
  std::size_t count_ = 0;
};


enum class CodePage { Cp1251, Cp1252, Latin1 };

// Windows-1252 for 0x80..0x9F; the rest of its upper half is Latin-1.
// The five unassigned bytes decode to U+FFFD.
constexpr std::array<char32_t, 32> kCp1252C1 = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

char32_t DecodeByte(unsigned char byte, CodePage page) {
  if (byte < 0x80) return byte;
  switch (page) {
    case CodePage::Cp1251: return Cp1251ToScalar(byte);
    case CodePage::Cp1252: return byte < 0xA0 ? kCp1252C1[byte - 0x80] : char32_t{byte};
    case CodePage::Latin1: return byte;
  }
  return byte;
}

// Code page of a Windows code page number; our own default for the others.
CodePage FromWindowsCodePage(int number) {
  return number == 1252 ? CodePage::Cp1252 : CodePage::Cp1251;
}

// The tokenizer splits the bytes into group braces, control words (with
// their parameter and delimiter), control symbols, \'hh escapes, runs of
// plain text, \bin data and stray control bytes. It never looks back.

// NeedMore: the bytes available so far end inside the token (see
// Tokenizer::SetLimit); nothing was consumed.
enum class TokenKind { End, GroupStart, GroupEnd, Word, Symbol, HexByte, Text, Binary, ControlByte, NeedMore };

struct Token {
  TokenKind kind = TokenKind::End;
  std::size_t position = 0;  // byte offset of the token's first byte
  std::string_view name;     // Word: its letters
  bool hasParameter = false; // Word
  int parameter = 0;         // Word
  char symbol = 0;           // Symbol: the character after the backslash
  unsigned char byte = 0;    // HexByte, ControlByte
  std::string_view text;     // Text: plain bytes; Binary: the data
};

constexpr std::size_t kMaxWordLength = 32;
constexpr int kMaxParameterDigits = 10;

constexpr bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }
constexpr int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
// A byte that belongs to a run of plain text: not a delimiter, not a line
// end (line ends in RTF are not text), not another control byte.
constexpr bool IsPlainTextByte(char c) {
  const auto b = static_cast<unsigned char>(c);
  return c != '\\' && c != '{' && c != '}' && (b >= 0x20 || c == '\t');
}

class Tokenizer {
 public:
  explicit Tokenizer(std::string_view data) : data_(data), limit_(data.size()) {}

  void SetPosition(std::size_t position) { pos_ = position; }
  std::size_t Position() const { return pos_; }
  void SetLog(ProblemLog* log) { log_ = log; }

  // Only the first `limit` bytes of the data are there yet: a token that
  // may go on past them comes back as NeedMore.
  void SetLimit(std::size_t limit) { limit_ = std::min(limit, data_.size()); }
  std::size_t Limit() const { return limit_; }

  Token Next() {
    while (pos_ < limit_ && (data_[pos_] == '\r' || data_[pos_] == '\n')) ++pos_;
    Token t;
    t.position = pos_;
    if (pos_ >= limit_) {
      if (Limited()) t.kind = TokenKind::NeedMore;
      return t;
    }
    const char c = data_[pos_];
    if (c == '{' || c == '}') {
      ++pos_;
      t.kind = c == '{' ? TokenKind::GroupStart : TokenKind::GroupEnd;
      return t;
    }
    if (c == '\\') return ReadControl(t);
    if (!IsPlainTextByte(c)) {
      ++pos_;
      t.kind = TokenKind::ControlByte;
      t.byte = static_cast<unsigned char>(c);
      return t;
    }
    std::size_t end = pos_ + 1;
    while (end < limit_ && IsPlainTextByte(data_[end])) ++end;
    if (end == limit_ && Limited()) return NeedMore(t);
    t.kind = TokenKind::Text;
    t.text = data_.substr(pos_, end - pos_);
    pos_ = end;
    return t;
  }

 private:
  bool Limited() const { return limit_ < data_.size(); }

  static Token NeedMore(Token& t) {
    t.kind = TokenKind::NeedMore;
    return t;
  }

  Token ReadControl(Token& t) {
    std::size_t p = pos_ + 1;
    if (p >= limit_) {
      if (Limited()) return NeedMore(t);
      pos_ = p;  // a lone backslash at the very end
      t.kind = TokenKind::Symbol;
      return t;
    }
    const char c = data_[p];
    if (IsLetter(c)) return ReadWord(t, p);
    if (c == '\'') {
      p += 1;
      if (p + 2 > limit_ && Limited()) return NeedMore(t);
      const int high = p < limit_ ? HexValue(data_[p]) : -1;
      const int low = p + 1 < limit_ ? HexValue(data_[p + 1]) : -1;
      if (high >= 0 && low >= 0) {
        pos_ = p + 2;
        t.kind = TokenKind::HexByte;
        t.byte = static_cast<unsigned char>(high * 16 + low);
        return t;
      }
      log_->Add(RtfProblemKind::BadHexEscape, t.position);
      pos_ = high >= 0 ? p + 1 : p;  // drop the escape and its one valid digit
      t.kind = TokenKind::Symbol;
      t.symbol = 0;
      return t;
    }
    pos_ = p + 1;
    t.kind = TokenKind::Symbol;
    t.symbol = c;
    return t;
  }

  Token ReadWord(Token& t, std::size_t p) {
    // The whole word, its parameter and its delimiter must be there.
    std::size_t q = p;
    while (q < limit_ && IsLetter(data_[q])) ++q;
    if (q < limit_ && data_[q] == '-') ++q;
    while (q < limit_ && IsDigit(data_[q])) ++q;
    if (q >= limit_ && Limited()) return NeedMore(t);

    const std::size_t nameStart = p;
    while (p < limit_ && IsLetter(data_[p])) ++p;
    std::size_t nameLength = p - nameStart;
    t.kind = TokenKind::Word;
    t.name = data_.substr(nameStart, std::min(nameLength, kMaxWordLength));
    bool negative = false;
    if (p + 1 < limit_ && data_[p] == '-' && IsDigit(data_[p + 1])) {
      negative = true;
      ++p;
    }
    long long value = 0;
    int digits = 0;
    if (p < limit_ && IsDigit(data_[p])) {
      while (p < limit_ && IsDigit(data_[p])) {
        if (digits < kMaxParameterDigits) value = value * 10 + (data_[p] - '0');
        ++digits;
        ++p;
      }
      if (negative) value = -value;
      value = std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                    std::numeric_limits<int>::max());
      t.hasParameter = true;
      t.parameter = static_cast<int>(value);
    }
    if (p < limit_ && data_[p] == ' ') ++p;  // the delimiter belongs to the word
    std::size_t binLength = 0;
    const bool binary = t.name == "bin" && t.hasParameter;
    const bool badBinary = binary && (t.parameter < 0 || static_cast<std::size_t>(t.parameter) > data_.size() - p);
    if (binary) {
      binLength = t.parameter < 0 ? 0 : badBinary ? data_.size() - p : static_cast<std::size_t>(t.parameter);
      if (p + binLength > limit_ && Limited()) return NeedMore(t);
    }
    if (nameLength > kMaxWordLength) log_->Add(RtfProblemKind::ControlWordTooLong, t.position);
    if (digits > kMaxParameterDigits) log_->Add(RtfProblemKind::ControlWordTooLong, t.position);
    pos_ = p;
    if (binary) {
      if (badBinary) log_->Add(RtfProblemKind::BadBinary, t.position);
      t.kind = TokenKind::Binary;
      t.text = data_.substr(pos_, binLength);
      pos_ += binLength;
    }
    return t;
  }

  std::string_view data_;
  std::size_t limit_;
  std::size_t pos_ = 0;
  ProblemLog* log_ = nullptr;  // the owning reader's; set before each use
};

// Control words the reader acts on

enum class Word {
  // destinations
  FontTable, ColourTable, SkipDestination, Upr, Ud,
  // document
  Deff, AnsiCodePage, DefTab,
  // font table
  Font, FontCharset, FontCodePage, FontFamily, FontPitch,
  // colour table
  Red, Green, Blue,
  // character formatting
  Plain, Bold, Italic, Underline, UnderlineNone, FontSize, ColourIndex,
  // paragraph formatting
  Pard, InTable, AlignLeft, AlignCentre, AlignRight, AlignJustify,
  // tables
  RowDefaults, CellEdge, RowGap, RowLeft, Cell, Row, NestedCell, NestedRow,
  // text
  Par, Line, Tab, Unicode, UnicodeSkip, Character,
};

struct WordEntry {
  std::string_view name;
  Word word;
  char32_t value = 0;  // Word::Character: the character; Word::FontFamily: the family
};

const std::unordered_map<std::string_view, WordEntry>& WordTable() {
  static const std::unordered_map<std::string_view, WordEntry> table = [] {
    std::unordered_map<std::string_view, WordEntry> t;
    const auto add = [&t](std::string_view name, Word w, char32_t c = 0) { t[name] = {name, w, c}; };
    add("fonttbl", Word::FontTable);
    add("colortbl", Word::ColourTable);
    add("upr", Word::Upr);
    add("ud", Word::Ud);
    // Destinations whose text is never shown (most writers also mark them \*).
    for (const std::string_view name :
         {"aftncn", "aftnsep", "aftnsepc", "annotation", "atnauthor", "atnid", "author",
          "bkmkend", "bkmkstart", "category", "colorschememapping", "comment", "company",
          "datastore", "docvar", "doccomm", "falt", "filetbl", "fldinst", "fontemb",
          "fontfile", "footer", "footerf", "footerl", "footerr", "footnote", "ftncn",
          "ftnsep", "ftnsepc", "generator", "header", "headerf", "headerl", "headerr",
          "info", "keywords", "latentstyles", "listoverridetable", "listtable", "manager",
          "mmathPr", "nesttableprops", "nonshppict", "object", "objdata", "operator",
          "panose", "pgptbl", "pict", "pn", "pntxta", "pntxtb", "private",
          "protusertbl", "revtbl", "rsidtbl", "rxe", "shp", "shpinst", "shppict",
          "stylesheet", "subject", "tc", "template", "themedata", "title", "txe",
          "userprops", "wgrffmtfilter", "xe", "xmlnstbl"}) {
      add(name, Word::SkipDestination);
    }
    add("deff", Word::Deff);
    add("ansicpg", Word::AnsiCodePage);
    add("deftab", Word::DefTab);
    add("f", Word::Font);
    add("fcharset", Word::FontCharset);
    add("cpg", Word::FontCodePage);
    add("fnil", Word::FontFamily, static_cast<char32_t>(RtfFontFamily::Nil));
    add("froman", Word::FontFamily, static_cast<char32_t>(RtfFontFamily::Roman));
    add("fswiss", Word::FontFamily, static_cast<char32_t>(RtfFontFamily::Swiss));
    add("fmodern", Word::FontFamily, static_cast<char32_t>(RtfFontFamily::Modern));
    add("fscript", Word::FontFamily, static_cast<char32_t>(RtfFontFamily::Script));
    add("fdecor", Word::FontFamily, static_cast<char32_t>(RtfFontFamily::Decor));
    add("ftech", Word::FontFamily, static_cast<char32_t>(RtfFontFamily::Tech));
    add("fprq", Word::FontPitch);
    add("red", Word::Red);
    add("green", Word::Green);
    add("blue", Word::Blue);
    add("plain", Word::Plain);
    add("b", Word::Bold);
    add("i", Word::Italic);
    for (const std::string_view name :
         {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash", "ulth",
          "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw",
          "ulwave"}) {
      add(name, Word::Underline);
    }
    add("ulnone", Word::UnderlineNone);
    add("fs", Word::FontSize);
    add("cf", Word::ColourIndex);
    add("pard", Word::Pard);
    add("intbl", Word::InTable);
    add("ql", Word::AlignLeft);
    add("qc", Word::AlignCentre);
    add("qr", Word::AlignRight);
    add("qj", Word::AlignJustify);
    add("trowd", Word::RowDefaults);
    add("cellx", Word::CellEdge);
    add("trgaph", Word::RowGap);
    add("trleft", Word::RowLeft);
    add("cell", Word::Cell);
    add("row", Word::Row);
    add("nestcell", Word::NestedCell);
    add("nestrow", Word::NestedRow);
    add("par", Word::Par);
    add("page", Word::Par);
    add("sect", Word::Par);
    add("line", Word::Line);
    add("softline", Word::Line);
    add("tab", Word::Tab);
    add("u", Word::Unicode);
    add("uc", Word::UnicodeSkip);
    add("emdash", Word::Character, 0x2014);
    add("endash", Word::Character, 0x2013);
    add("emspace", Word::Character, 0x2003);
    add("enspace", Word::Character, 0x2002);
    add("qmspace", Word::Character, 0x2005);
    add("bullet", Word::Character, 0x2022);
    add("lquote", Word::Character, 0x2018);
    add("rquote", Word::Character, 0x2019);
    add("ldblquote", Word::Character, 0x201C);
    add("rdblquote", Word::Character, 0x201D);
    return t;
  }();
  return table;
}

// The reader keeps a stack of group states; each token changes the top state
// or sends text to the destination of the current group.

enum class Destination { Text, FontTable, ColourTable, Skip, Upr };

struct GroupState {
  Destination destination = Destination::Text;
  int fontId = -1;  // \f number; -1: the document's default font (\deff)
  int halfPoints = 24;
  int colourIndex = -1;  // -1: no \cf, the default colour
  bool bold = false;
  bool italic = false;
  bool underline = false;
  int unicodeSkip = 1;  // \uc: bytes of fallback text after each \u
  bool inTable = false;
  RtfAlignment alignment = RtfAlignment::Left;
};

struct FontInfo {
  int index = -1;  // into RtfDocument::fonts
  std::optional<CodePage> codePage;  // nullopt: the document's \ansicpg
};

// What a reader does with the blocks it completes.
enum class ReadMode {
  Whole,    // keeps them all, up to kRtfMaxElements (ReadRtf)
  Count,    // counts them and notes checkpoints (the scan of RtfBlockIndex)
  Stretch,  // keeps those of one stretch [first, end) and stops after it
};

class Reader;

// A reader's whole state right after a paragraph of the document's body has
// ended, and how many blocks were complete there: reading can go on from it.
struct Checkpoint {
  std::size_t blocks = 0;
  std::shared_ptr<const Reader> reader;
};

// A reader can be copied: a copy goes on from where the original stands.
class Reader {
 public:
  Reader(std::string_view data, std::vector<RtfProblem>* problems, ReadMode mode)
      : data_(data), log_(problems), tokenizer_(data), mode_(mode), available_(data.size()) {}

  // Only the first `available` bytes of the data are there yet: reading
  // stops before anything that may go on past them.
  void SetAvailable(std::size_t available) {
    available_ = std::min(available, data_.size());
    tokenizer_.SetLimit(available_);
  }

  // Reads on until the document ends, a stretch is complete, or the reader
  // has passed the byte position `until`.
  void Run(std::size_t until);

  bool Ended() const { return phase_ == Phase::Ended; }
  std::size_t Position() const;
  std::size_t Blocks() const { return blockIndex_; }
  const RtfDocument& Document() const { return doc_; }
  RtfDocument TakeDocument() { return std::move(doc_); }

  // Count mode: checkpoints go into *out, one at least every `spacing` bytes.
  void NoteCheckpointsIn(std::vector<Checkpoint>* out, std::size_t spacing);

  // A reader that goes on from this state and keeps blocks [first, end).
  Reader ForStretch(std::size_t first, std::size_t end) const;

 private:
  enum class Phase { Start, Rtf, PlainText, Ended };

  void Begin();
  void RunRtf(std::size_t until);
  void RunPlainText(std::size_t until);
  void End(bool closed);
  void NoteCheckpoint();
  std::size_t StateBytes() const;

  void HandleToken(const Token& t);
  void HandleWord(const Token& t);
  void HandleSymbol(const Token& t);
  void HandleText(std::string_view bytes);
  void PushGroup(std::size_t position);
  void PopGroup();

  GroupState& State() { return stack_.back(); }
  int Depth() const { return static_cast<int>(stack_.size()) - 1; }
  CodePage CurrentCodePage() const;
  RtfCharFormat CurrentFormat() const;

  // Text output
  void Emit(char32_t c);
  void EmitUnicode(int parameter);
  void FlushSurrogate();
  void Append(const RtfCharFormat& format, std::string_view utf8);
  bool ParagraphHasText() const { return mode_ == ReadMode::Count ? textSeen_ : !paragraph_.runs.empty(); }
  bool CountElement(std::size_t position);
  RtfParagraph TakeParagraph();
  void PushBlock(RtfBlock&& block);
  void EndParagraph(std::size_t position);
  void EndCell(std::size_t position);
  void EndRow(std::size_t position);
  void CloseTable(std::size_t position);
  void Finish();

  // Tables of the header
  void StartFont(int id);
  void FinishFont();
  void FinishColour();

  std::string_view data_;
  ProblemLog log_;
  Tokenizer tokenizer_;
  RtfDocument doc_;
  ReadMode mode_;
  std::size_t available_;
  Phase phase_ = Phase::Start;
  std::size_t plainPosition_ = 0;  // Phase::PlainText: start of the next line

  std::size_t blockIndex_ = 0;        // blocks completed so far
  std::size_t stretchFirst_ = 0;      // Stretch: the blocks kept
  std::size_t stretchEnd_ = 0;
  std::size_t stretchText_ = 0;       // Stretch: bytes of text kept so far
  bool stretchDone_ = false;
  bool textSeen_ = false;             // Count: the open paragraph has text
  std::vector<Checkpoint>* checkpoints_ = nullptr;  // Count
  std::size_t checkpointSpacing_ = 0;
  std::size_t nextCheckpointAt_ = 0;
  bool checkpointDue_ = false;

  std::vector<GroupState> stack_{GroupState{}};
  int ignoredOpens_ = 0;        // "{" past the depth limit, still to be matched
  bool groupJustOpened_ = false;
  bool ignorablePending_ = false;  // "{\*" seen, its control word not yet
  int skipBytes_ = 0;              // fallback bytes still to skip after \u
  char32_t pendingHigh_ = 0;       // high surrogate waiting for its pair
  bool stopped_ = false;
  std::size_t elements_ = 0;
  std::size_t currentPosition_ = 0;

  int defaultFontId_ = 0;
  CodePage ansiCodePage_ = CodePage::Cp1251;
  std::unordered_map<int, FontInfo> fonts_;
  bool fontPending_ = false;
  int pendingFontId_ = 0;
  int pendingFontCharset_ = 1;
  RtfFontFamily pendingFontFamily_ = RtfFontFamily::Nil;
  int pendingFontPitch_ = 0;
  std::optional<CodePage> pendingFontCodePage_;
  std::string pendingFontName_;  // UTF-8
  std::vector<std::optional<RtfColour>> colours_;
  RtfColour pendingColour_;
  bool colourHasComponent_ = false;

  RtfParagraph paragraph_;
  RtfTableCell cell_;
  RtfTableRow row_;
  std::optional<RtfTable> table_;
  std::vector<int> rowEdges_;
  int rowGap_ = 0;
  int rowLeft_ = 0;
};

std::size_t Reader::Position() const {
  switch (phase_) {
    case Phase::Start: return 0;
    case Phase::Rtf: return tokenizer_.Position();
    case Phase::PlainText: return plainPosition_;
    case Phase::Ended: break;
  }
  return data_.size();
}

void Reader::NoteCheckpointsIn(std::vector<Checkpoint>* out, std::size_t spacing) {
  checkpoints_ = out;
  checkpointSpacing_ = spacing;
  nextCheckpointAt_ = 0;
  if (out != nullptr && out->empty()) NoteCheckpoint();  // the very start
}

// Roughly what a copy of the state takes: a document with huge tables or
// deep nesting gets fewer checkpoints.
std::size_t Reader::StateBytes() const {
  std::size_t bytes = sizeof(Reader) + stack_.size() * sizeof(GroupState) +
                      fonts_.size() * 48 + colours_.size() * sizeof(colours_[0]) +
                      rowEdges_.size() * sizeof(int) + pendingFontName_.size();
  for (const RtfFont& f : doc_.fonts) bytes += sizeof(RtfFont) + f.name.size();
  return bytes;
}

void Reader::NoteCheckpoint() {
  checkpointDue_ = false;
  auto copy = std::make_shared<Reader>(*this);
  copy->checkpoints_ = nullptr;
  copy->log_ = ProblemLog(nullptr);
  checkpoints_->push_back({blockIndex_, std::move(copy)});
  nextCheckpointAt_ = Position() + std::max(checkpointSpacing_, 16 * StateBytes());
}

Reader Reader::ForStretch(std::size_t first, std::size_t end) const {
  Reader r(*this);
  r.mode_ = ReadMode::Stretch;
  r.log_ = ProblemLog(nullptr);
  r.checkpoints_ = nullptr;
  r.checkpointDue_ = false;
  r.doc_.blocks.clear();
  r.elements_ = 0;
  r.stretchText_ = 0;
  r.stretchFirst_ = first;
  r.stretchEnd_ = end;
  r.stretchDone_ = end <= first;
  return r;
}

void Reader::Begin() {
  std::size_t start = 0;
  while (start < available_ &&
         (data_[start] == ' ' || data_[start] == '\t' || data_[start] == '\r' ||
          data_[start] == '\n')) {
    ++start;
  }
  if (start + 5 > available_ && available_ < data_.size()) return;  // not known yet
  if (data_.substr(start, 5) != "{\\rtf") {
    log_.Add(RtfProblemKind::NotRtf, 0);
    phase_ = Phase::PlainText;
    plainPosition_ = 0;
    return;
  }
  tokenizer_.SetPosition(start);
  phase_ = Phase::Rtf;
}

void Reader::Run(std::size_t until) {
  if (phase_ == Phase::Start) Begin();
  if (phase_ == Phase::Start) return;
  if (phase_ == Phase::Rtf) RunRtf(until);
  else if (phase_ == Phase::PlainText) RunPlainText(until);
}

void Reader::RunRtf(std::size_t until) {
  tokenizer_.SetLog(&log_);
  while (!stretchDone_) {
    if (stopped_) {
      End(false);
      return;
    }
    if (tokenizer_.Position() >= until) return;
    const Token t = tokenizer_.Next();
    if (t.kind == TokenKind::NeedMore) return;
    currentPosition_ = t.position;
    if (t.kind == TokenKind::End) {
      End(false);
      return;
    }
    if (t.kind == TokenKind::GroupEnd && ignoredOpens_ == 0 && Depth() == 1) {
      Finish();  // the last paragraph ends in the document's own state
      PopGroup();
      // Whatever follows the document's closing brace is not part of it.
      for (std::size_t p = t.position + 1; p < data_.size(); ++p) {
        const char c = data_[p];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\0') {
          log_.Add(RtfProblemKind::TrailingData, p);
          break;
        }
      }
      End(true);
      return;
    }
    HandleToken(t);
    if (checkpointDue_) NoteCheckpoint();
  }
}

void Reader::End(bool closed) {
  if (!closed && !stopped_) log_.Add(RtfProblemKind::UnclosedGroup, data_.size());
  Finish();
  phase_ = Phase::Ended;
}

RtfDocument ReadWhole(std::string_view data, std::vector<RtfProblem>* problems) {
  Reader reader(data, problems, ReadMode::Whole);
  reader.Run(std::numeric_limits<std::size_t>::max());
  return reader.TakeDocument();
}

// Lines of Windows-1251 text (LF, CRLF or CR) become paragraphs.
void Reader::RunPlainText(std::size_t until) {
  std::size_t p = plainPosition_;
  while (p < data_.size() && !stopped_ && !stretchDone_) {
    if (p >= until) return;
    std::size_t end = p;
    while (end < available_ && data_[end] != '\n' && data_[end] != '\r') ++end;
    // The line and its end (CR LF is one) must be there.
    if (available_ < data_.size() && (end == available_ || (data_[end] == '\r' && end + 1 == available_))) {
      plainPosition_ = p;
      return;
    }
    currentPosition_ = p;
    std::string utf8;
    for (std::size_t i = p; i < end; ++i) {
      const auto b = static_cast<unsigned char>(data_[i]);
      if ((b < 0x20 && b != '\t') || b == 0x7F) {
        log_.Add(RtfProblemKind::ControlByte, i);
        continue;
      }
      AppendUtf8(utf8, DecodeByte(b, CodePage::Cp1251));
    }
    if (!utf8.empty()) Append(CurrentFormat(), utf8);
    if (end == data_.size()) {
      p = end;
      break;
    }
    EndParagraph(end);
    p = end + 1;
    if (data_[end] == '\r' && p < data_.size() && data_[p] == '\n') ++p;
    plainPosition_ = p;
    if (checkpointDue_) NoteCheckpoint();
  }
  plainPosition_ = p;
  if (stretchDone_) return;
  Finish();
  phase_ = Phase::Ended;
}

void Reader::HandleToken(const Token& t) {
  const bool justOpened = groupJustOpened_;
  groupJustOpened_ = false;
  const bool ignorable = ignorablePending_;
  ignorablePending_ = false;

  switch (t.kind) {
    case TokenKind::End:
      return;
    case TokenKind::GroupStart:
      skipBytes_ = 0;
      PushGroup(t.position);
      return;
    case TokenKind::GroupEnd:
      skipBytes_ = 0;
      PopGroup();
      return;
    case TokenKind::ControlByte:
      log_.Add(RtfProblemKind::ControlByte, t.position);
      return;
    default:
      break;
  }

  // Fallback text of a \u character is skipped: each byte, escape, control
  // word or symbol counts as one.
  if (skipBytes_ > 0) {
    if (t.kind == TokenKind::Text && static_cast<int>(t.text.size()) > skipBytes_) {
      const auto skipped = static_cast<std::size_t>(skipBytes_);
      skipBytes_ = 0;
      HandleText(t.text.substr(skipped));
    } else {
      skipBytes_ -= t.kind == TokenKind::Text ? static_cast<int>(t.text.size()) : 1;
    }
    return;
  }

  switch (t.kind) {
    case TokenKind::Symbol:
      if (t.symbol == '*' && justOpened) {
        ignorablePending_ = true;
        groupJustOpened_ = true;  // "{\*" is still the group's opening
        return;
      }
      HandleSymbol(t);
      return;
    case TokenKind::Word: {
      if (ignorable) {
        // "{\*\word": a destination this reader doesn't know is skipped whole.
        const auto& table = WordTable();
        const auto it = table.find(t.name);
        const bool known = it != table.end() && it->second.word == Word::Ud;
        if (!known) {
          State().destination = Destination::Skip;
          return;
        }
      }
      HandleWord(t);
      return;
    }
    case TokenKind::HexByte:
      if (State().destination == Destination::Text || State().destination == Destination::FontTable) {
        const char byte = static_cast<char>(t.byte);
        HandleText(std::string_view(&byte, 1));
      }
      return;
    case TokenKind::Text:
      HandleText(t.text);
      return;
    default:
      return;  // binary data is never text
  }
}

void Reader::PushGroup(std::size_t position) {
  if (ignoredOpens_ > 0 || Depth() >= kRtfMaxGroupDepth) {
    if (ignoredOpens_ == 0) log_.Add(RtfProblemKind::TooDeep, position);
    ++ignoredOpens_;
    return;
  }
  FlushSurrogate();
  stack_.push_back(stack_.back());
  groupJustOpened_ = true;
}

void Reader::PopGroup() {
  if (ignoredOpens_ > 0) {
    --ignoredOpens_;
    return;
  }
  if (Depth() == 0) return;  // the document's own "}" ends the reading before this
  FlushSurrogate();
  const Destination popped = State().destination;
  stack_.pop_back();
  if (popped == Destination::FontTable && fontPending_) FinishFont();
  if (popped == Destination::ColourTable && colourHasComponent_) FinishColour();
}

void Reader::HandleSymbol(const Token& t) {
  if (State().destination != Destination::Text) return;
  switch (t.symbol) {
    case '\\': case '{': case '}':
      Emit(static_cast<unsigned char>(t.symbol));
      return;
    case '~': Emit(0x00A0); return;  // no-break space
    case '_': Emit(0x2011); return;  // no-break hyphen
    case '\t': Emit('\t'); return;
    case '\r': case '\n': EndParagraph(t.position); return;
    default: return;  // "\-" optional hyphen, "\:", "\|", unknown symbols
  }
}

void Reader::HandleWord(const Token& t) {
  const auto& table = WordTable();
  const auto it = table.find(t.name);
  if (it == table.end()) return;  // unknown control words are ignored
  const Word word = it->second.word;
  GroupState& s = State();
  const int param = t.parameter;
  const bool on = !t.hasParameter || param != 0;

  if (s.destination == Destination::Skip) return;
  if (s.destination == Destination::Upr) {
    if (word == Word::Ud) s.destination = Destination::Text;
    return;
  }

  // Words that act wherever they stand.
  switch (word) {
    case Word::FontTable:
      s.destination = Destination::FontTable;
      return;
    case Word::ColourTable:
      s.destination = Destination::ColourTable;
      colours_.clear();
      colourHasComponent_ = false;
      pendingColour_ = {};
      return;
    case Word::SkipDestination:
      s.destination = Destination::Skip;
      return;
    case Word::Upr:
      s.destination = Destination::Upr;
      return;
    case Word::Deff:
      defaultFontId_ = t.hasParameter ? param : 0;
      return;
    case Word::AnsiCodePage:
      ansiCodePage_ = FromWindowsCodePage(param);
      return;
    case Word::DefTab:
      if (t.hasParameter && param > 0) doc_.defaultTab = std::min(param, 32767);
      return;
    case Word::UnicodeSkip:
      s.unicodeSkip = std::clamp(t.hasParameter ? param : 1, 0, 16);
      return;
    default:
      break;
  }

  if (s.destination == Destination::FontTable) {
    switch (word) {
      case Word::Font: StartFont(t.hasParameter ? param : 0); return;
      case Word::FontCharset: pendingFontCharset_ = param; return;
      case Word::FontFamily:
        pendingFontFamily_ = static_cast<RtfFontFamily>(it->second.value);
        return;
      case Word::FontPitch: pendingFontPitch_ = std::clamp(param, 0, 2); return;
      case Word::FontCodePage:
        if (param == 1251 || param == 1252) pendingFontCodePage_ = FromWindowsCodePage(param);
        return;
      case Word::Unicode:
        EmitUnicode(param);
        skipBytes_ = s.unicodeSkip;
        return;
      default: return;
    }
  }
  if (s.destination == Destination::ColourTable) {
    const auto component = static_cast<std::uint8_t>(std::clamp(param, 0, 255));
    switch (word) {
      case Word::Red: pendingColour_.red = component; break;
      case Word::Green: pendingColour_.green = component; break;
      case Word::Blue: pendingColour_.blue = component; break;
      default: return;
    }
    colourHasComponent_ = true;
    return;
  }

  // Destination::Text
  switch (word) {
    case Word::Plain:
      s.fontId = -1;
      s.halfPoints = 24;
      s.colourIndex = -1;
      s.bold = s.italic = s.underline = false;
      return;
    case Word::Font: s.fontId = t.hasParameter ? std::max(param, 0) : 0; return;
    case Word::Bold: s.bold = on; return;
    case Word::Italic: s.italic = on; return;
    case Word::Underline: s.underline = on; return;
    case Word::UnderlineNone: s.underline = false; return;
    case Word::FontSize:
      s.halfPoints = (t.hasParameter && param > 0) ? std::min(param, 3276) : 24;
      return;
    case Word::ColourIndex: s.colourIndex = t.hasParameter ? std::max(param, 0) : 0; return;
    case Word::Pard:
      s.inTable = false;
      s.alignment = RtfAlignment::Left;
      return;
    case Word::InTable: s.inTable = on; return;
    case Word::AlignLeft: s.alignment = RtfAlignment::Left; return;
    case Word::AlignCentre: s.alignment = RtfAlignment::Centre; return;
    case Word::AlignRight: s.alignment = RtfAlignment::Right; return;
    case Word::AlignJustify: s.alignment = RtfAlignment::Justify; return;
    case Word::RowDefaults:
      rowEdges_.clear();
      rowGap_ = 0;
      rowLeft_ = 0;
      return;
    case Word::CellEdge:
      if (rowEdges_.size() < 1000) rowEdges_.push_back(param - rowLeft_);
      return;
    case Word::RowGap: rowGap_ = std::max(param, 0); return;
    case Word::RowLeft: rowLeft_ = param; return;
    case Word::Cell: EndCell(t.position); return;
    case Word::Row: EndRow(t.position); return;
    case Word::NestedCell: Emit('\t'); return;
    case Word::NestedRow: Emit('\n'); return;
    case Word::Par: EndParagraph(t.position); return;
    case Word::Line: Emit('\n'); return;
    case Word::Tab: Emit('\t'); return;
    case Word::Unicode:
      EmitUnicode(param);
      skipBytes_ = s.unicodeSkip;
      return;
    case Word::Character: Emit(it->second.value); return;
    default: return;
  }
}

void Reader::HandleText(std::string_view bytes) {
  const Destination d = State().destination;
  if (d == Destination::Text) {
    FlushSurrogate();
    if (mode_ == ReadMode::Count) {
      // Only whether text is there counts: every byte but DEL shows.
      if (bytes.find_first_not_of('\x7F') != std::string_view::npos) textSeen_ = true;
      return;
    }
    const CodePage page = CurrentCodePage();
    std::string utf8;
    utf8.reserve(bytes.size() * 2);
    for (const char ch : bytes) {
      const char32_t c = DecodeByte(static_cast<unsigned char>(ch), page);
      if ((c < 0x20 && c != '\t') || c == 0x7F) continue;
      AppendUtf8(utf8, c);
    }
    if (!utf8.empty()) Append(CurrentFormat(), utf8);
    return;
  }
  if (d == Destination::FontTable) {
    const CodePage page = pendingFontCodePage_ ? *pendingFontCodePage_
                          : pendingFontCharset_ == 204 ? CodePage::Cp1251
                          : pendingFontCharset_ == 2   ? CodePage::Latin1
                                                       : ansiCodePage_;
    for (const char ch : bytes) {
      if (ch == ';') {
        if (fontPending_) FinishFont();
        continue;
      }
      if (!fontPending_) {
        if (ch == ' ') continue;  // blanks between the entries
        StartFont(0);             // a name without \f: font 0
      }
      if (pendingFontName_.size() < 256)
        AppendUtf8(pendingFontName_, DecodeByte(static_cast<unsigned char>(ch), page));
    }
    return;
  }
  if (d == Destination::ColourTable) {
    for (const char ch : bytes) {
      if (ch == ';') FinishColour();
    }
  }
}

CodePage Reader::CurrentCodePage() const {
  const int id = stack_.back().fontId >= 0 ? stack_.back().fontId : defaultFontId_;
  const auto it = fonts_.find(id);
  if (it == fonts_.end()) return ansiCodePage_;
  if (it->second.codePage) return *it->second.codePage;
  const int charset = doc_.fonts[static_cast<std::size_t>(it->second.index)].charset;
  if (charset == 204) return CodePage::Cp1251;
  if (charset == 2) return CodePage::Latin1;
  return ansiCodePage_;
}

RtfCharFormat Reader::CurrentFormat() const {
  const GroupState& s = stack_.back();
  RtfCharFormat f;
  const auto it = fonts_.find(s.fontId >= 0 ? s.fontId : defaultFontId_);
  if (it != fonts_.end()) f.font = it->second.index;
  f.halfPoints = s.halfPoints;
  if (s.colourIndex >= 0 && static_cast<std::size_t>(s.colourIndex) < colours_.size())
    f.colour = colours_[static_cast<std::size_t>(s.colourIndex)];
  f.bold = s.bold;
  f.italic = s.italic;
  f.underline = s.underline;
  return f;
}

void Reader::StartFont(int id) {
  if (fontPending_) FinishFont();
  fontPending_ = true;
  pendingFontId_ = id;
  pendingFontCharset_ = 1;
  pendingFontFamily_ = RtfFontFamily::Nil;
  pendingFontPitch_ = 0;
  pendingFontCodePage_.reset();
  pendingFontName_.clear();
}

void Reader::FinishFont() {
  fontPending_ = false;
  std::string name = std::move(pendingFontName_);
  pendingFontName_.clear();
  const auto first = name.find_first_not_of(' ');
  const auto last = name.find_last_not_of(' ');
  name = first == std::string::npos ? std::string() : name.substr(first, last - first + 1);
  if (doc_.fonts.size() >= 4096) return;
  fonts_[pendingFontId_] = {static_cast<int>(doc_.fonts.size()), pendingFontCodePage_};
  doc_.fonts.push_back({std::move(name), pendingFontCharset_, pendingFontFamily_, pendingFontPitch_});
}

void Reader::FinishColour() {
  if (colours_.size() < 4096) {
    colours_.push_back(colourHasComponent_ ? std::optional<RtfColour>(pendingColour_)
                                           : std::nullopt);
  }
  pendingColour_ = {};
  colourHasComponent_ = false;
}

void Reader::Emit(char32_t c) {
  if (State().destination != Destination::Text) return;
  FlushSurrogate();
  if ((c < 0x20 && c != '\t' && c != '\n') || c == 0x7F) return;
  std::string utf8;
  AppendUtf8(utf8, c);
  Append(CurrentFormat(), utf8);
}

// \u takes a signed 16-bit value; a surrogate pair arrives as two \u.
void Reader::EmitUnicode(int parameter) {
  char32_t c = parameter < 0 ? static_cast<char32_t>(parameter + 65536)
                             : static_cast<char32_t>(parameter);
  if (parameter < -32768 || c > 0xFFFF) c = 0xFFFD;
  if (c >= 0xD800 && c <= 0xDBFF) {
    FlushSurrogate();
    pendingHigh_ = c;
    return;
  }
  if (c >= 0xDC00 && c <= 0xDFFF) {
    if (pendingHigh_ == 0) {
      c = 0xFFFD;
    } else {
      c = 0x10000 + ((pendingHigh_ - 0xD800) << 10) + (c - 0xDC00);
      pendingHigh_ = 0;
    }
  }
  if (State().destination == Destination::FontTable) {
    if (fontPending_ && pendingFontName_.size() < 256) AppendUtf8(pendingFontName_, c);
    return;
  }
  Emit(c);
}

void Reader::FlushSurrogate() {
  if (pendingHigh_ == 0) return;
  pendingHigh_ = 0;
  if (State().destination == Destination::Text) Append(CurrentFormat(), "\xEF\xBF\xBD");
}

void Reader::Append(const RtfCharFormat& format, std::string_view utf8) {
  if (mode_ == ReadMode::Count) {
    textSeen_ = true;
    return;
  }
  bool full = false;
  if (mode_ == ReadMode::Stretch) {
    if (stopped_) return;
    const std::size_t room = kRtfMaxStretchText - stretchText_;
    if (utf8.size() > room) {  // as much as fits, whole characters, and no more
      std::size_t cut = room;
      while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80) --cut;
      utf8 = utf8.substr(0, cut);
      full = true;
    }
    stretchText_ += utf8.size();
  }
  if (!utf8.empty()) {
    if (paragraph_.runs.empty() || !(paragraph_.runs.back().format == format)) {
      if (!CountElement(currentPosition_)) return;
      paragraph_.runs.push_back({std::string(), format});
    }
    paragraph_.runs.back().text += utf8;
  }
  if (full) {
    log_.Add(RtfProblemKind::TooLarge, currentPosition_);
    stopped_ = true;
  }
}

// False (and reading stops) when the document grows past kRtfMaxElements.
// The scan of an index builds nothing and has no limit.
bool Reader::CountElement(std::size_t position) {
  if (mode_ == ReadMode::Count) return true;
  if (stopped_) return false;
  if (++elements_ <= kRtfMaxElements) return true;
  log_.Add(RtfProblemKind::TooLarge, position);
  stopped_ = true;
  return false;
}

RtfParagraph Reader::TakeParagraph() {
  RtfParagraph p = std::move(paragraph_);
  paragraph_ = {};
  textSeen_ = false;
  if (mode_ == ReadMode::Count) return p;
  p.mark = CurrentFormat();
  p.alignment = State().alignment;
  return p;
}

void Reader::PushBlock(RtfBlock&& block) {
  const std::size_t index = blockIndex_++;
  switch (mode_) {
    case ReadMode::Whole:
      doc_.blocks.push_back(std::move(block));
      return;
    case ReadMode::Count:
      return;
    case ReadMode::Stretch:
      if (index < stretchFirst_) elements_ = stretchText_ = 0;  // the limits are the stretch's
      else if (index < stretchEnd_) doc_.blocks.push_back(std::move(block));
      if (blockIndex_ >= stretchEnd_) stretchDone_ = true;
      return;
  }
}

void Reader::EndParagraph(std::size_t position) {
  if (!CountElement(position)) return;
  FlushSurrogate();
  RtfParagraph p = TakeParagraph();
  if (State().inTable) {
    cell_.paragraphs.push_back(std::move(p));
    return;
  }
  CloseTable(position);
  PushBlock(std::move(p));
  if (checkpoints_ != nullptr && position >= nextCheckpointAt_) checkpointDue_ = true;
}

void Reader::EndCell(std::size_t position) {
  if (!CountElement(position)) return;
  FlushSurrogate();
  cell_.paragraphs.push_back(TakeParagraph());
  row_.cells.push_back(std::move(cell_));
  cell_ = {};
}

void Reader::EndRow(std::size_t position) {
  // Text after the row's last \cell makes a cell of its own.
  if (ParagraphHasText() || !cell_.paragraphs.empty()) EndCell(position);
  if (row_.cells.empty() || !CountElement(position)) return;
  row_.cellRightEdges = rowEdges_;
  row_.halfGap = rowGap_;
  if (!table_) table_.emplace();
  table_->rows.push_back(std::move(row_));
  row_ = {};
}

void Reader::CloseTable(std::size_t position) {
  if (!row_.cells.empty() || !cell_.paragraphs.empty()) {
    log_.Add(RtfProblemKind::UnfinishedRow, position);
    if (!cell_.paragraphs.empty()) {
      row_.cells.push_back(std::move(cell_));
      cell_ = {};
    }
    row_.cellRightEdges = rowEdges_;
    row_.halfGap = rowGap_;
    if (!table_) table_.emplace();
    table_->rows.push_back(std::move(row_));
    row_ = {};
  }
  if (table_) {
    RtfTable table = std::move(*table_);
    table_.reset();
    PushBlock(std::move(table));
  }
}

void Reader::Finish() {
  stopped_ = false;  // what was read so far is still put together
  const std::size_t end = data_.size();
  FlushSurrogate();
  if (ParagraphHasText()) {
    if (State().inTable) {
      cell_.paragraphs.push_back(TakeParagraph());
    } else {
      CloseTable(end);
      PushBlock(TakeParagraph());
    }
  }
  CloseTable(end);
}

}  // namespace

std::string_view RtfDocument::FontName(const RtfCharFormat& format) const {
  if (format.font < 0 || static_cast<std::size_t>(format.font) >= fonts.size()) return {};
  return fonts[static_cast<std::size_t>(format.font)].name;
}

std::string_view RtfProblemName(RtfProblemKind kind) {
  switch (kind) {
    case RtfProblemKind::NotRtf: return "not RTF, read as plain text";
    case RtfProblemKind::UnclosedGroup: return "unclosed group";
    case RtfProblemKind::TooDeep: return "groups nested too deep";
    case RtfProblemKind::BadHexEscape: return "bad hex escape";
    case RtfProblemKind::BadBinary: return "bad binary data length";
    case RtfProblemKind::ControlWordTooLong: return "control word too long";
    case RtfProblemKind::ControlByte: return "control byte in text";
    case RtfProblemKind::UnfinishedRow: return "unfinished table row";
    case RtfProblemKind::TrailingData: return "data after the end of the document";
    case RtfProblemKind::TooLarge: return "document too large";
    case RtfProblemKind::TooManyProblems: return "too many problems";
    case RtfProblemKind::CannotRead: return "cannot read the file";
  }
  return "unknown problem";
}

struct RtfBlockIndex::Scan {
  Scan(std::string_view bytes, std::size_t arrived)
      : data(bytes), reader(bytes, nullptr, ReadMode::Count), available(std::min(arrived, bytes.size())) {
    reader.SetAvailable(available);
    reader.NoteCheckpointsIn(&checkpoints, kCheckpointSpacing);
  }
  static constexpr std::size_t kCheckpointSpacing = std::size_t{64} << 10;

  std::string_view data;
  Reader reader;
  std::size_t available;
  std::vector<Checkpoint> checkpoints;  // by blocks, ascending
};

RtfBlockIndex::RtfBlockIndex(std::string_view bytes) : RtfBlockIndex(bytes, bytes.size()) {}

RtfBlockIndex::RtfBlockIndex(std::string_view bytes, std::size_t available)
    : scan_(std::make_unique<Scan>(bytes, available)) {}

void RtfBlockIndex::SetAvailable(std::size_t available) {
  scan_->available = std::min(std::max(available, scan_->available), scan_->data.size());
  scan_->reader.SetAvailable(scan_->available);
}

std::size_t RtfBlockIndex::Available() const { return scan_->available; }

RtfBlockIndex::~RtfBlockIndex() = default;

bool RtfBlockIndex::Advance(std::size_t budget) {
  Reader& r = scan_->reader;
  if (!r.Ended()) {
    const std::size_t from = r.Position();
    r.Run(budget > std::numeric_limits<std::size_t>::max() - from ? std::numeric_limits<std::size_t>::max()
                                                                  : from + std::max<std::size_t>(budget, 1));
  }
  return r.Ended();
}

bool RtfBlockIndex::Complete() const { return scan_->reader.Ended(); }

std::size_t RtfBlockIndex::BytesScanned() const { return scan_->reader.Position(); }

std::size_t RtfBlockIndex::Size() const { return scan_->data.size(); }

std::size_t RtfBlockIndex::BlockCount() const { return scan_->reader.Blocks(); }

int RtfBlockIndex::DefaultTab() const { return scan_->reader.Document().defaultTab; }

RtfDocument RtfBlockIndex::Read(std::size_t first, std::size_t count) const {
  const std::size_t available = BlockCount();
  if (first >= available || count == 0) {
    RtfDocument empty = scan_->reader.Document();
    empty.blocks.clear();
    return empty;
  }
  const std::size_t end = first + std::min(count, available - first);
  // The last checkpoint at or before the stretch.
  const auto& points = scan_->checkpoints;
  auto after = std::upper_bound(points.begin(), points.end(), first,
                                [](std::size_t block, const Checkpoint& c) { return block < c.blocks; });
  const Checkpoint& from = *std::prev(after);
  Reader reader = from.reader->ForStretch(first, end);
  reader.SetAvailable(scan_->available);
  reader.Run(std::numeric_limits<std::size_t>::max());
  return reader.TakeDocument();
}

RtfDocument ReadRtf(std::string_view bytes, std::vector<RtfProblem>* problems) {
  return ReadWhole(bytes, problems);
}

std::optional<RtfDocument> ReadRtfFile(const std::string& path,
                                       std::vector<RtfProblem>* problems,
                                       std::size_t maxBytes) {
  std::error_code error;
  const bool regular = std::filesystem::is_regular_file(path, error);
  const auto size = regular ? std::filesystem::file_size(path, error) : 0;
  if (!regular || error) {
    if (problems) problems->push_back({0, RtfProblemKind::CannotRead});
    return std::nullopt;
  }
  if (size > maxBytes) {
    if (problems) problems->push_back({maxBytes, RtfProblemKind::TooLarge});
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  if (!in || !in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
    if (problems) problems->push_back({0, RtfProblemKind::CannotRead});
    return std::nullopt;
  }
  return ReadRtf(bytes, problems);
}

}  // namespace velmar
