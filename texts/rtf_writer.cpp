#include "texts/rtf_writer.h"

#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "app/settings.h"
#include "calendar/cp1251.h"
#include "platform/messages.h"
#include "platform/program_directory.h"

namespace velmar {

std::string DayColour = "\\cf0";

namespace {

std::FILE* g_stream = nullptr;
bool g_owned = false;

// The report is gathered in buffers and handed to the stream in large
// pieces: a day block is made of dozens of small writes. A batch is what one
// buffer holds, in order, with pieces kept elsewhere (ReportWriteKept) put
// between its stretches; it goes to the stream in one gathering write. A
// document that fills a batch goes on being formatted into the next while a
// thread of its own writes the full ones, in order; a smaller one is written
// when it is closed, without a thread.
class BufferPipe {
 public:
  static constexpr std::size_t kBufferSize = std::size_t{1} << 20;
  static constexpr std::size_t kBuffers = 4;
  static constexpr std::size_t kMostPieces = 1024;  // of a batch

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
  char* Current() const { return current_.buffer; }

  // A new document for a stream: all buffers free, no failure.
  void Begin(std::FILE* stream) {
    stream_ = stream;
    // Writes go to the file itself when it has one, else through the stream.
    std::fflush(stream);
    descriptor_ = ::fileno(stream);
    current_ = Batch{buffers_[0], {}};
    stretch_ = current_.buffer;
    for (std::size_t i = 1; i < kBuffers; ++i) free_.push_back(buffers_[i]);
    failed_ = false;
  }

  // Puts bytes kept elsewhere after the first `used` bytes of the buffer;
  // returns where to go on writing (in another buffer when the batch is
  // full).
  char* Keep(std::size_t used, std::string_view bytes) {
    EndStretch(used);
    current_.pieces.push_back({const_cast<char*>(bytes.data()), bytes.size()});
    if (current_.pieces.size() + 1 < kMostPieces) return current_.buffer + used;
    return Pass(used);
  }

  // Hands the batch with the first `used` bytes of its buffer to the stream
  // and returns a free buffer to fill next.
  char* Pass(std::size_t used) {
    EndStretch(used);
    if (current_.pieces.empty()) return current_.buffer;
    std::unique_lock<std::mutex> lock(mutex_);
    if (!writer_.joinable()) {
      stop_ = false;  // a new thread runs until End stops it
      writer_ = std::thread([this] { WriteFullBatches(); });
    }
    full_.push_back(std::move(current_));
    changed_.notify_all();
    changed_.wait(lock, [this] { return !free_.empty(); });
    current_ = Batch{free_.back(), {}};
    free_.pop_back();
    stretch_ = current_.buffer;
    return current_.buffer;
  }

  // Writes all that was handed over or is in the batch (its buffer up to
  // `used`), so that the pieces kept elsewhere may go; returns the buffer
  // to go on with.
  char* Settle(std::size_t used) {
    if (!writer_.joinable()) {  // a small document: written now, without a thread
      EndStretch(used);
      if (!Write(current_)) failed_ = true;
      current_.pieces.clear();
      stretch_ = current_.buffer;
      return current_.buffer;
    }
    char* buffer = Pass(used);
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return full_.empty() && !writing_; });
    return buffer;
  }

  // Writes the last `used` bytes, waits until all is written and stops the
  // writing thread. Returns false when a write failed.
  bool End(std::size_t used) {
    EndStretch(used);
    {
      std::unique_lock<std::mutex> lock(mutex_);
      if (writer_.joinable()) {
        if (!current_.pieces.empty()) full_.push_back(std::move(current_));
        stop_ = true;
        changed_.notify_all();
      }
    }
    if (writer_.joinable()) writer_.join();
    else if (!Write(current_)) failed_ = true;
    stop_ = false;
    full_.clear();
    free_.clear();
    current_ = Batch{};
    stream_ = nullptr;
    return !failed_;
  }

 private:
  struct Batch {
    char* buffer = nullptr;
    std::vector<iovec> pieces;  // in order
  };

  // The bytes written into the buffer since the last piece become one.
  void EndStretch(std::size_t used) {
    char* end = current_.buffer + used;
    if (end > stretch_) current_.pieces.push_back({stretch_, static_cast<std::size_t>(end - stretch_)});
    stretch_ = end;
  }

  bool Write(const Batch& batch) const {
    if (descriptor_ < 0) {
      for (const iovec& piece : batch.pieces)
        if (std::fwrite(piece.iov_base, 1, piece.iov_len, stream_) != piece.iov_len) return false;
      return true;
    }
    std::vector<iovec> rest = batch.pieces;
    std::size_t first = 0;
    while (first < rest.size()) {
      const auto count = static_cast<int>(std::min<std::size_t>(rest.size() - first, IOV_MAX));
      const ssize_t written = ::writev(descriptor_, rest.data() + first, count);
      if (written < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      // Past the pieces written whole, and into one written in part.
      auto left = static_cast<std::size_t>(written);
      while (first < rest.size() && left >= rest[first].iov_len) left -= rest[first++].iov_len;
      if (first < rest.size()) {
        rest[first].iov_base = static_cast<char*>(rest[first].iov_base) + left;
        rest[first].iov_len -= left;
      }
    }
    return true;
  }

  void WriteFullBatches() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      changed_.wait(lock, [this] { return !full_.empty() || stop_; });
      if (full_.empty()) return;  // stopped, all written
      Batch batch = std::move(full_.front());
      full_.pop_front();
      writing_ = true;
      lock.unlock();
      const bool ok = Write(batch);
      lock.lock();
      writing_ = false;
      if (!ok) failed_ = true;
      free_.push_back(batch.buffer);
      changed_.notify_all();
    }
  }

  char buffers_[kBuffers][kBufferSize];
  std::FILE* stream_ = nullptr;
  int descriptor_ = -1;
  Batch current_;
  char* stretch_ = nullptr;  // where the buffer's bytes not yet a piece begin
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Batch> full_;  // to be written, in order
  std::vector<char*> free_;
  std::thread writer_;
  bool writing_ = false;
  bool stop_ = false;
  bool failed_ = false;
};

BufferPipe g_pipe;

// Pieces shorter than this are copied: a piece of its own costs more.
constexpr std::size_t kKeptAtLeast = 256;

std::size_t Used() { return static_cast<std::size_t>(report_detail::g_cursor - g_pipe.Current()); }

// A ReportCapture: its string, and a buffer the writers fill before it.
std::string* g_capture = nullptr;
char g_captureBuffer[4096];

void FlushCapture() {
  g_capture->append(g_captureBuffer, static_cast<std::size_t>(report_detail::g_cursor - g_captureBuffer));
  report_detail::g_cursor = g_captureBuffer;
}

// Points the writers at a place in the pipe's current buffer, or detaches
// them.
void Connect(char* cursor) {
  report_detail::g_cursor = cursor;
  report_detail::g_limit = cursor != nullptr ? g_pipe.Current() + BufferPipe::kBufferSize : nullptr;
}

}  // namespace

namespace report_detail {

char* g_cursor = nullptr;
char* g_limit = nullptr;

void WriteSlow(std::string_view bytes) {
  if (g_capture != nullptr) {
    FlushCapture();
    g_capture->append(bytes);
    return;
  }
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

void ReportWriteKept(std::string_view bytes) {
  if (bytes.size() < kKeptAtLeast || g_capture != nullptr || g_stream == nullptr) {
    ReportWrite(bytes);
    return;
  }
  Connect(g_pipe.Keep(Used(), bytes));
}

void ReportSettleKept() {
  if (g_capture != nullptr || g_stream == nullptr) return;
  Connect(g_pipe.Settle(Used()));
}

ReportCapture::ReportCapture(std::string& into)
    : cursor_(report_detail::g_cursor), limit_(report_detail::g_limit) {
  g_capture = &into;
  report_detail::g_cursor = g_captureBuffer;
  report_detail::g_limit = g_captureBuffer + sizeof g_captureBuffer;
}

ReportCapture::~ReportCapture() {
  FlushCapture();
  g_capture = nullptr;
  report_detail::g_cursor = cursor_;
  report_detail::g_limit = limit_;
}

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
  g_pipe.Begin(f);
  Connect(g_pipe.Current());
  return true;
}

void AttachReportStream(std::FILE* stream) {
  CloseReportFile();
  g_stream = stream;
  g_owned = false;
  if (stream == nullptr) return;
  g_pipe.Begin(stream);
  Connect(g_pipe.Current());
}

bool CloseReportFile() {
  if (g_stream == nullptr) return true;
  const bool written = g_pipe.End(Used());
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
  ReportWrite("\n  Составлено при помощи «Днесловника»\\par"_cp);
  ReportWrite("\n  ");
  if (!kProjectSite.empty()) {
    ReportWrite(kProjectSite);
    ReportWrite(" ");
  }
  ReportWrite("(c) Команда разработчиков Velmar32, версия "_cp);
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
