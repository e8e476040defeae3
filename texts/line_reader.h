#pragma once
// Reading the program's text files as text mode reads them on Windows: a
// carriage return right before a line feed is dropped, so CRLF and LF files
// read alike. Lines are read in pieces of a fixed number of characters, as a
// fixed line buffer would take them: a longer line arrives as several pieces,
// each treated as a line of its own. A piece keeps its line feed, if it got one.
// A NUL byte ends the piece's text (what follows it up to the end of the piece
// is dropped), as a zero-terminated buffer would see it.

#include <cstdio>
#include <string>
#include <string_view>

namespace velmar {

class TextFileReader {
 public:
  TextFileReader() = default;
  ~TextFileReader();
  TextFileReader(const TextFileReader&) = delete;
  TextFileReader& operator=(const TextFileReader&) = delete;

  // Opens a regular file for reading; false when it can't be opened or is not
  // a regular file (a directory, say).
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return file_ != nullptr; }

  // Reads the next piece of at most maxChars characters (maxChars >= 1) into
  // line; false at the end of the file (line is then empty).
  bool ReadLine(std::string& line, std::size_t maxChars);

 private:
  int Get();   // next byte after CRLF folding, or EOF
  int Peek();  // raw next byte without consuming, or EOF
  bool Fill();

  std::FILE* file_ = nullptr;
  char buffer_[1 << 16];
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
};

// Removes every trailing line feed, carriage return and blank from the line.
void TrimLineEnd(std::string& line);

// The leading decimal integer of a text as the C runtime's atoi reads it:
// leading white space and one sign are accepted, reading stops at the first
// non-digit, a text without digits gives 0. Saturates instead of overflowing.
long LeadingInteger(std::string_view text);

}  // namespace velmar
