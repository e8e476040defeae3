#include "texts/line_reader.h"

#include <sys/stat.h>

#include <climits>

namespace velmar {

TextFileReader::~TextFileReader() { Close(); }

bool TextFileReader::Open(const std::string& path) {
  Close();
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return false;
  struct stat info {};
  if (fstat(fileno(f), &info) != 0 || !S_ISREG(info.st_mode)) {
    std::fclose(f);
    return false;
  }
  file_ = f;
  pos_ = end_ = 0;
  return true;
}

void TextFileReader::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  pos_ = end_ = 0;
}

bool TextFileReader::Fill() {
  if (file_ == nullptr) return false;
  end_ = std::fread(buffer_, 1, sizeof buffer_, file_);
  pos_ = 0;
  return end_ > 0;
}

int TextFileReader::Peek() {
  if (pos_ == end_ && !Fill()) return EOF;
  return static_cast<unsigned char>(buffer_[pos_]);
}

int TextFileReader::Get() {
  int c = Peek();
  if (c == EOF) return EOF;
  ++pos_;
  if (c == '\r' && Peek() == '\n') {
    ++pos_;
    c = '\n';
  }
  return c;
}

bool TextFileReader::ReadLine(std::string& line, std::size_t maxChars) {
  line.clear();
  while (line.size() < maxChars) {
    const int c = Get();
    if (c == EOF) break;
    line += static_cast<char>(c);
    if (c == '\n') break;
  }
  if (line.empty()) return false;
  const std::size_t nul = line.find('\0');
  if (nul != std::string::npos) line.resize(nul);
  return true;
}

void TrimLineEnd(std::string& line) {
  while (!line.empty()) {
    const char c = line.back();
    if (c != '\n' && c != '\r' && c != ' ') break;
    line.pop_back();
  }
}

long LeadingInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    const int digit = text[i] - '0';
    if (value > (LONG_MAX - digit) / 10) {
      value = LONG_MAX;
      while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
      break;
    }
    value = value * 10 + digit;
  }
  return negative ? -value : value;
}

}  // namespace velmar
