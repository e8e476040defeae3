#include "texts/rtf_writer.h"

#include <charconv>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "app/settings.h"
#include "platform/messages.h"
#include "platform/program_directory.h"
#include "texts/cp1251.h"

namespace velmar {

std::string DayColour = "\\cf0";

namespace {

std::FILE* g_stream = nullptr;
bool g_owned = false;

// The report is gathered in buffers and handed to the stream in large
// pieces: a day block is made of dozens of small writes. A document that
// fills a buffer goes on being formatted into the next while a thread of
// its own writes the full ones to the stream, in order; a smaller one is
// written when it is closed, without a thread.
class BufferPipe {
 public:
  static constexpr std::size_t kBufferSize = std::size_t{1} << 18;
  static constexpr std::size_t kBuffers = 3;

  BufferPipe() = default;
  BufferPipe(const BufferPipe&) = delete;
  BufferPipe& operator=(const BufferPipe&) = delete;
  ~BufferPipe() {
    if (!writer_.joinable()) return;
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
      changed_.notify_all();
    }
    writer_.join();
  }

  // The buffer being filled.
  char* Current() const { return current_; }

  // A new document: all buffers free, no failure.
  void Begin() {
    current_ = buffers_[0];
    for (std::size_t i = 1; i < kBuffers; ++i) free_.push_back(buffers_[i]);
    failed_ = false;
  }

  // Hands the first `used` bytes of the current buffer to the stream and
  // returns a free buffer to fill next.
  char* Pass(std::size_t used) {
    if (used == 0) return current_;
    std::unique_lock<std::mutex> lock(mutex_);
    if (!writer_.joinable()) writer_ = std::thread([this] { WriteFullBuffers(); });
    full_.push_back({current_, used});
    changed_.notify_all();
    changed_.wait(lock, [this] { return !free_.empty(); });
    current_ = free_.back();
    free_.pop_back();
    return current_;
  }

  // Writes the last `used` bytes, waits until all is written and stops the
  // writing thread. Returns false when a write failed.
  bool End(std::FILE* stream, std::size_t used) {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      if (writer_.joinable()) {
        if (used > 0) full_.push_back({current_, used});
        stop_ = true;
        changed_.notify_all();
      } else if (used > 0 && std::fwrite(current_, 1, used, stream) != used) {
        failed_ = true;
      }
    }
    if (writer_.joinable()) writer_.join();
    stop_ = false;
    full_.clear();
    free_.clear();
    current_ = nullptr;
    return !failed_;
  }

 private:
  void WriteFullBuffers() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      changed_.wait(lock, [this] { return !full_.empty() || stop_; });
      if (full_.empty()) return;  // stopped, all written
      const auto [data, size] = full_.front();
      full_.pop_front();
      lock.unlock();
      const bool ok = std::fwrite(data, 1, size, g_stream) == size;
      lock.lock();
      if (!ok) failed_ = true;
      free_.push_back(data);
      changed_.notify_all();
    }
  }

  char buffers_[kBuffers][kBufferSize];
  char* current_ = nullptr;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::pair<char*, std::size_t>> full_;  // to be written, in order
  std::vector<char*> free_;
  std::thread writer_;
  bool stop_ = false;
  bool failed_ = false;
};

BufferPipe g_pipe;

std::size_t Used() { return static_cast<std::size_t>(report_detail::g_cursor - g_pipe.Current()); }

// Points the writers at an empty buffer of the open stream, or detaches them.
void Connect(char* buffer) {
  report_detail::g_cursor = buffer;
  report_detail::g_limit = buffer != nullptr ? buffer + BufferPipe::kBufferSize : nullptr;
}

}  // namespace

namespace report_detail {

char* g_cursor = nullptr;
char* g_limit = nullptr;

void WriteSlow(std::string_view bytes) {
  if (g_stream == nullptr) return;
  while (!bytes.empty()) {
    const auto room = static_cast<std::size_t>(g_limit - g_cursor);
    if (room == 0) {
      Connect(g_pipe.Pass(BufferPipe::kBufferSize));
      continue;
    }
    const std::size_t n = std::min(room, bytes.size());
    std::memcpy(g_cursor, bytes.data(), n);
    g_cursor += n;
    bytes.remove_prefix(n);
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
  g_pipe.Begin();
  Connect(g_pipe.Current());
  return true;
}

void AttachReportStream(std::FILE* stream) {
  CloseReportFile();
  g_stream = stream;
  g_owned = false;
  if (stream == nullptr) return;
  g_pipe.Begin();
  Connect(g_pipe.Current());
}

bool CloseReportFile() {
  if (g_stream == nullptr) return true;
  const bool written = g_pipe.End(g_stream, Used());
  Connect(nullptr);
  bool ok = written && std::fflush(g_stream) == 0 && !std::ferror(g_stream);
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
