#include "texts/rtf_writer.h"

#include <charconv>
#include <cstring>

#include "app/settings.h"
#include "platform/messages.h"
#include "platform/program_directory.h"
#include "texts/cp1251.h"

namespace velmar {

std::string DayColour = "\\cf0";

namespace {

std::FILE* g_stream = nullptr;
bool g_owned = false;
bool g_failed = false;

// The report is gathered here and handed to the stream in large pieces: a
// day block is made of dozens of small writes.
constexpr std::size_t kBufferSize = 1 << 16;
char g_buffer[kBufferSize];

void FlushBuffer() {
  const auto used = static_cast<std::size_t>(report_detail::g_cursor - g_buffer);
  if (g_stream != nullptr && report_detail::g_cursor != nullptr && used > 0 &&
      std::fwrite(g_buffer, 1, used, g_stream) != used) {
    g_failed = true;
  }
  if (report_detail::g_cursor != nullptr) report_detail::g_cursor = g_buffer;
}

// Points the buffer at the open stream, or detaches it.
void Connect(bool open) {
  report_detail::g_cursor = open ? g_buffer : nullptr;
  report_detail::g_limit = open ? g_buffer + kBufferSize : nullptr;
}

}  // namespace

namespace report_detail {

char* g_cursor = nullptr;
char* g_limit = nullptr;

void WriteSlow(std::string_view bytes) {
  if (g_stream == nullptr) return;
  FlushBuffer();
  if (bytes.size() <= kBufferSize) {
    std::memcpy(g_cursor, bytes.data(), bytes.size());
    g_cursor += bytes.size();
  } else if (std::fwrite(bytes.data(), 1, bytes.size(), g_stream) != bytes.size()) {
    g_failed = true;
  }
}

}  // namespace report_detail

std::string ReportFilePath() { return WritableFilesDirectory() + "velmar32.tmp"; }

bool OpenReportFile() {
  CloseReportFile();
  // The document goes into a new file: a reader still reading the previous
  // one (the report viewer reads a big report while it shows it) reads it
  // to its end unchanged.
  const std::string path = ReportFilePath();
  std::remove(path.c_str());
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) {
    ShowMessage("Cannot open temporary output file.");
    return false;
  }
  g_stream = f;
  g_owned = true;
  g_failed = false;
  Connect(true);
  return true;
}

void AttachReportStream(std::FILE* stream) {
  CloseReportFile();
  g_stream = stream;
  g_owned = false;
  g_failed = false;
  Connect(stream != nullptr);
}

bool CloseReportFile() {
  if (g_stream == nullptr) return true;
  FlushBuffer();
  Connect(false);
  bool ok = !g_failed && std::fflush(g_stream) == 0 && !std::ferror(g_stream);
  if (g_owned && std::fclose(g_stream) != 0) ok = false;
  g_stream = nullptr;
  g_owned = false;
  return ok;
}

bool ReportStreamOpen() { return g_stream != nullptr; }

void ReportWriteNumber(long value) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  ReportWrite(std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
}

void ReportWriteNumber2(long value) {
  if (value >= 0 && value < 10) ReportWrite("0");
  else if (value < 0 && value > -10) {
    // "%02d" of -1..-9 gives "-1".."-9": the sign counts as a digit place.
  }
  ReportWriteNumber(value);
}

bool SignsOn() { return AppSettings.agiosLine != "No"; }

void WriteReportHeader() {
  ReportWrite("{\\rtf1\\ansi\\deff0\\deftab720");
  ReportWrite("\n{\\fonttbl{\\f0\\fnil MS Sans Serif;}{\\f1\\froman\\fcharset2 Symbol;}"
              "{\\f2\\froman\\fprq2\\fcharset204 ");
  ReportWrite(AppSettings.rtfFont);
  ReportWrite(";}{\\f3\\fmodern\\fprq1\\fcharset204 Courier New Cyr;}}");
  ReportWrite("\n{\\colortbl\\red0\\green0\\blue0;");
  ReportWrite("\n\\red255\\green0\\blue0;");
  ReportWrite("\n\\red112\\green0\\blue112;");
  ReportWrite("\n\\red128\\green0\\blue0;");
  ReportWrite("\n\\red128\\green128\\blue128;}");
  ReportWrite("\n\\deflang1049\\pard\\plain\\f2\\fs");
  ReportWriteNumber2(AppSettings.rtfSize);
  ReportWrite("\\cf0");
}

void WriteCredits() {
  ReportWrite("\n  Составлено при помощи Днесловник для Windows\\par"_cp);
  ReportWrite("\n  ");
  ReportWrite(kProjectSite);
  ReportWrite(" (c) Команда разработчиков Velmar32, версия "_cp);
  ReportWrite(ProgramVersion);
  ReportWrite(" ");
  ReportWrite(ProgramBuild);
  ReportWrite("\\par");
  ReportWrite("\n  ——————————————————————————————\\par"_cp);
  ReportWrite("\n\\par");
}

void WriteSignLegend() {
  ReportWrite("\n\\fs");
  ReportWriteNumber2(AppSettings.rtfSize - 1);
  ReportWrite("\\cf0");
  ReportWrite("\n  Условные обозначения:\\par"_cp);
  ReportWrite("\n  ————————————————————————————————\\par"_cp);
  ReportWrite("\n\\f3  · \\f2   Календарное указание или память святого, не имеющего службы\\par"_cp);
  ReportWrite("\n\\f3  • \\f2   Совершается рядовая служба (без знака типикона)\\par"_cp);
  ReportWrite("\n\\f3  ш \\f2   Совершается служба на шесть\\par"_cp);
  ReportWrite("\n\\f3\\cf1\\b  c \\b0\\cf0\\f2   Совершается служба со славословием\\par"_cp);
  ReportWrite("\n\\f3\\cf1  + \\cf0\\f2   Совершается служба с полиелеем\\par"_cp);
  ReportWrite("\n\\f3\\cf1  +)\\cf0\\f2   Совершается всенощное бдение\\par"_cp);
  ReportWrite("\n\\f3\\cf1 (+)\\cf0\\f2   Совершается великое всенощное бдение\\par"_cp);
  ReportWrite("\n\\par");
}

void WriteServiceSign(char code, bool signsOn) {
  switch (code) {
    case '0':
      if (signsOn) ReportWrite("\\f3  · \\f2 "_cp);
      break;
    case '1':
      if (signsOn) ReportWrite("\\f3  • \\f2 "_cp);
      break;
    case '2':
      ReportWrite("\\f3  ш \\f2 "_cp);
      break;
    case '3':
      ReportWrite("\\f3\\cf1\\b  c \\b0");
      ReportWrite(DayColour);
      ReportWrite("\\f2 ");
      break;
    case '4':
      ReportWrite("\\f3\\cf1  + ");
      ReportWrite(DayColour);
      ReportWrite("\\f2 ");
      break;
    case '5':
      ReportWrite("\\f3\\cf1  +)");
      ReportWrite(DayColour);
      ReportWrite("\\f2 ");
      break;
    case '6':
      ReportWrite("\\f3\\cf1 (+)");
      ReportWrite(DayColour);
      ReportWrite("\\f2 ");
      break;
    default:
      break;
  }
}

}  // namespace velmar
