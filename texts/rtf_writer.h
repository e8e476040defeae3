#pragma once
// The report file and the fixed pieces of every RTF document the program
// writes: the prologue with its font and colour tables, the credits block of
// the reports, the legend of the service-rank signs, the sign snippets and the
// day colour. Every view and report is written as one RTF document into the
// one report file (velmar32.tmp in the program directory) and then loaded from
// it. Text is Windows-1251, Cyrillic unescaped (the fonts declare charset 204).
//
// The report stream is one process-wide output: a producer opens it, writes
// the prologue, its heading and body, "\n}", and closes it; only one document
// is open at a time.

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace velmar {

// The report file: velmar32.tmp in the program directory (or, when that is
// not writable, in the user's state folder: WritableFilesDirectory()).
std::string ReportFilePath();

// Opens the report file for writing, replacing what it held, as the report
// stream. On failure shows "Cannot open temporary output file." and returns
// false; nothing is written then.
bool OpenReportFile();

// Makes an already open stream (stdout, a file of the CLI) the report stream;
// it is flushed but not closed by CloseReportFile.
void AttachReportStream(std::FILE* stream);

// Closes the report stream; false when a write failed.
bool CloseReportFile();

// True while a report stream is open.
bool ReportStreamOpen();

namespace report_detail {
// The free part of the report stream's buffer; both null while no stream is
// open. WriteSlow flushes the buffer and takes what didn't fit.
extern char* g_cursor;
extern char* g_limit;
void WriteSlow(std::string_view bytes);
}  // namespace report_detail

// Writes bytes, a decimal number, or a number of at least two digits.
// Nothing is written while no report stream is open.
inline void ReportWrite(std::string_view bytes) {
  if (bytes.size() <= static_cast<std::size_t>(report_detail::g_limit - report_detail::g_cursor)) {
    if (!bytes.empty()) std::memcpy(report_detail::g_cursor, bytes.data(), bytes.size());
    report_detail::g_cursor += bytes.size();
    return;
  }
  report_detail::WriteSlow(bytes);
}
void ReportWriteNumber(long value);
void ReportWriteNumber2(long value);

// Writes bytes that stay as they are, where they are, until the stream is
// closed or ReportSettleKept returns: they go to the file from there, not
// copied first (a report that writes one piece many times).
void ReportWriteKept(std::string_view bytes);

// Waits until all that was written has reached the stream, so that the bytes
// of ReportWriteKept may change or go.
void ReportSettleKept();

// While an instance lives, what the writers write goes into a string instead
// of the report stream: a report that writes one piece many times renders it
// once. Instances don't nest.
class ReportCapture {
 public:
  explicit ReportCapture(std::string& into);
  ~ReportCapture();
  ReportCapture(const ReportCapture&) = delete;
  ReportCapture& operator=(const ReportCapture&) = delete;

 private:
  char* cursor_;
  char* limit_;
};

// The colour code of the day being written: "\\cf0", "\\cf2" or "\\cf3".
// Kept between documents; "\\cf0" at start.
extern std::string DayColour;

// The prologue: "{\rtf1...", font table with AppSettings.rtfFont as font 2,
// colour table, default language and the configured size.
void WriteReportHeader();

// The credits block that follows a report's title.
void WriteCredits();

// The legend of the seven service-rank signs, half a point smaller.
void WriteSignLegend();

// Writes the sign snippet of an entry code "0".."6" (nothing for others); the
// snippets of "0" and "1" only when signsOn.
void WriteServiceSign(char code, bool signsOn);

// True unless the setting agiosLine is exactly "No".
bool SignsOn();

// The project's web address, written before the makers' notice of the
// credits block; empty while the project has none (the notice then starts
// the line).
inline constexpr std::string_view kProjectSite = "";

}  // namespace velmar
