#include "texts/rtf_writer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <deque>
#include <fstream>
#include <string>
#include <thread>

#include <pthread.h>
#include <unistd.h>

#include "day_test_support.h"
#include "platform/messages.h"
#include "texts/sign_legend.h"

namespace velmar {
namespace {

using testing::Capture;

const char* const kPrologue20 = testing::kDefaultPrologue;

TEST(RtfWriter, PrologueFollowsTheSettings) {
  ResetSettings();
  EXPECT_EQ(Capture(WriteReportHeader), kPrologue20);
  AppSettings.rtfSize = 8;
  AppSettings.rtfFont = "Arial Cyr";
  const std::string small = Capture(WriteReportHeader);
  EXPECT_NE(small.find("{\\f2\\froman\\fprq2\\fcharset204 Arial Cyr;}"), std::string::npos);
  EXPECT_EQ(small.substr(small.size() - 9), "\\fs08\\cf0");
  EXPECT_EQ(Capture(WriteSignLegend).substr(0, 10), "\n\\fs07\\cf0");
  ResetSettings();
  EXPECT_EQ(Capture(WriteSignLegend).substr(0, 10), "\n\\fs19\\cf0");
}

// The size has at least two digits, as "%02d" writes it: a minus sign
// counts as one of them.
TEST(RtfWriter, SizesOfThePrologueAndTheLegend) {
  struct Row { int size; const char* prologue; const char* legend; };
  const Row rows[] = {{20, "\\fs20\\cf0", "\n\\fs19\\cf0"},  {8, "\\fs08\\cf0", "\n\\fs07\\cf0"},
                      {10, "\\fs10\\cf0", "\n\\fs09\\cf0"},  {1, "\\fs01\\cf0", "\n\\fs00\\cf0"},
                      {0, "\\fs00\\cf0", "\n\\fs-1\\cf0"},   {-1, "\\fs-1\\cf0", "\n\\fs-2\\cf0"},
                      {-9, "\\fs-9\\cf0", "\n\\fs-10\\cf0"}, {-15, "\\fs-15\\cf0", "\n\\fs-16\\cf0"},
                      {9999, "\\fs9999\\cf0", "\n\\fs9998\\cf0"}, {100, "\\fs100\\cf0", "\n\\fs99\\cf0"}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.size);
    ResetSettings();
    AppSettings.rtfSize = r.size;
    const std::string prologue = Capture(WriteReportHeader);
    EXPECT_EQ(prologue.substr(prologue.rfind("\\plain\\f2") + 9), r.prologue);
    const std::string legend = Capture(WriteSignLegend);
    EXPECT_EQ(legend.substr(0, legend.find("\n  ")), r.legend);
  }
  ResetSettings();
}

TEST(RtfWriter, LegendAndCredits) {
  ResetSettings();
  EXPECT_EQ(Capture(WriteSignLegend),
            "\n\\fs19\\cf0"
            "\n  Условные обозначения:\\par"
            "\n  ————————————————————————————————\\par"
            "\n\\f3  · \\f2   Календарное указание или память святого, не имеющего службы\\par"
            "\n\\f3  • \\f2   Совершается рядовая служба (без знака типикона)\\par"
            "\n\\f3  ш \\f2   Совершается служба на шесть\\par"
            "\n\\f3\\cf1\\b  c \\b0\\cf0\\f2   Совершается служба со славословием\\par"
            "\n\\f3\\cf1  + \\cf0\\f2   Совершается служба с полиелеем\\par"
            "\n\\f3\\cf1  +)\\cf0\\f2   Совершается всенощное бдение\\par"
            "\n\\f3\\cf1 (+)\\cf0\\f2   Совершается великое всенощное бдение\\par"
            "\n\\par");
  EXPECT_EQ(Capture(WriteCredits),
            "\n  Составлено при помощи «Днесловника»\\par"
            "\n  (c) Команда разработчиков Velmar32, "
            "версия 2.0 pre-release 278\\par"
            "\n  ——————————————————————————————\\par"
            "\n\\par");
}

// The signs explained outside the reports say what the reports' legend says,
// and each is what the snippet of its code draws.
TEST(SignLegend, SaysWhatTheReportLegendSaysOfEachSign) {
  ResetSettings();
  const std::string legend = Capture(WriteSignLegend);
  for (const ServiceSign& s : ServiceSigns()) {
    SCOPED_TRACE(s.code);
    const std::size_t at = legend.find(std::string("   ") + std::string(s.meaning) + "\\par");
    ASSERT_NE(at, std::string::npos);
    const std::string line = legend.substr(legend.rfind('\n', at), at - legend.rfind('\n', at));
    EXPECT_NE(line.find(std::string(s.sign)), std::string::npos) << line;
    EXPECT_EQ(line.find("\\cf1") != std::string::npos, s.red) << line;
    DayColour = "\\cf0";
    const std::string snippet = Capture([&] { WriteServiceSign(s.code, true); });
    EXPECT_NE(snippet.find(std::string(s.sign)), std::string::npos);
    EXPECT_EQ(snippet.find("\\cf1") != std::string::npos, s.red);
    EXPECT_EQ(SignOf(" " + std::string(s.sign) + "  "), &s);
  }
  EXPECT_EQ(SignOf(""), nullptr);
  EXPECT_EQ(SignOf("+ )"), nullptr);
  EXPECT_EQ(SignOf("x"), nullptr);
}

TEST(RtfWriter, SignSnippetsOccupyFourCellsAndReturnToTheDayColour) {
  DayColour = "\\cf3";
  struct Row { char code; const char* on; const char* off; };
  const Row rows[] = {
      {'0', "\\f3  · \\f2 ", ""},
      {'1', "\\f3  • \\f2 ", ""},
      {'2', "\\f3  ш \\f2 ", "\\f3  ш \\f2 "},
      {'3', "\\f3\\cf1\\b  c \\b0\\cf3\\f2 ", "\\f3\\cf1\\b  c \\b0\\cf3\\f2 "},
      {'4', "\\f3\\cf1  + \\cf3\\f2 ", "\\f3\\cf1  + \\cf3\\f2 "},
      {'5', "\\f3\\cf1  +)\\cf3\\f2 ", "\\f3\\cf1  +)\\cf3\\f2 "},
      {'6', "\\f3\\cf1 (+)\\cf3\\f2 ", "\\f3\\cf1 (+)\\cf3\\f2 "},
      {'q', "", ""},
      {'7', "", ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.code);
    EXPECT_EQ(Capture([&] { WriteServiceSign(r.code, true); }), r.on);
    EXPECT_EQ(Capture([&] { WriteServiceSign(r.code, false); }), r.off);
  }
  DayColour = "\\cf0";
}

// The report is gathered in a buffer and handed on in large pieces: pieces
// of every size, across the buffer's end, arrive whole and in order.
TEST(RtfWriter, LongDocumentsArriveWhole) {
  std::string expected;
  const std::string bytes = Capture([&] {
    for (int i = 0; i < 3000; ++i) {
      const std::string piece = std::to_string(i) + std::string(static_cast<std::size_t>(i % 97), static_cast<char>('a' + i % 26)) + ";";
      ReportWrite(piece);
      expected += piece;
    }
    const std::string big(200000, 'z');
    ReportWrite(big);
    expected += big;
    ReportWriteNumber(-42);
    expected += "-42";
  });
  EXPECT_EQ(bytes, expected);
}

TEST(RtfWriter, ReportFileIsReplacedAndFailureIsReported) {
  testing::TempProgramDir dir;
  ASSERT_TRUE(OpenReportFile());
  ReportWrite("first document, rather long");
  ASSERT_TRUE(CloseReportFile());
  ASSERT_TRUE(OpenReportFile());
  ReportWrite("second");
  ASSERT_TRUE(CloseReportFile());
  EXPECT_EQ(testing::ReadFileBytes(dir.path() / "velmar32.tmp"), "second");

  dir.MakeUnwritable();
  RecordingMessageSink sink;
  EXPECT_FALSE(OpenReportFile());
  EXPECT_EQ(sink.texts, std::vector<std::string>{"Cannot open temporary output file."});
  ReportWrite("goes nowhere");
  EXPECT_TRUE(CloseReportFile());
}

// A big document is written while it is formatted: the bytes are those
// written, in order, however the pieces fall on the buffers; a write that
// fails is reported at the close, for big documents and small ones.
TEST(RtfWriter, BigDocumentsArriveWholeAndInOrder) {
  testing::TempProgramDir dir;
  // Pieces written in place: some 300 bytes each, of which many are kept
  // and written by reference.
  std::deque<std::string> kept;
  for (int k = 0; k < 50; ++k) kept.push_back(std::string(static_cast<std::size_t>(200 + 7 * k), static_cast<char>('a' + k % 26)));
  const auto document = [&](std::string& expected) {
    for (int i = 0; i < 120'000; ++i) {
      std::string piece = "\n  line " + std::to_string(i) + "\\par";
      if (i % 997 == 0) piece += std::string(static_cast<std::size_t>(i % 5000), 'x');
      if (i == 60'000) piece += std::string(std::size_t{3} << 20, 'y');  // larger than any buffer
      ReportWrite(piece);
      expected += piece;
      if (i % 3 == 0) {
        const std::string& k = kept[static_cast<std::size_t>(i) % kept.size()];
        ReportWriteKept(k);
        expected += k;
      }
    }
  };
  std::string expected;
  ASSERT_TRUE(OpenReportFile());
  document(expected);
  ASSERT_TRUE(CloseReportFile());
  const std::string written = testing::ReadFileBytes(dir.path() / "velmar32.tmp");
  ASSERT_EQ(written.size(), expected.size());
  EXPECT_TRUE(written == expected);
  // The same through a stream without a file of its own.
  std::string viaMemory;
  const std::string captured = testing::Capture([&] { document(viaMemory); });
  EXPECT_TRUE(Cp1251ToUtf8(viaMemory) == captured);

  // A reader of the previous document keeps it: the next goes into a new file.
  std::ifstream previous(dir.path() / "velmar32.tmp", std::ios::binary);
  ASSERT_TRUE(OpenReportFile());
  ReportWrite("short");
  ASSERT_TRUE(CloseReportFile());
  std::string head(10, '\0');
  previous.read(head.data(), 10);
  EXPECT_EQ(head, expected.substr(0, 10));
  EXPECT_EQ(testing::ReadFileBytes(dir.path() / "velmar32.tmp"), "short");

  for (const std::size_t size : {std::size_t{100}, std::size_t{5} << 20}) {
    std::FILE* full = std::fopen("/dev/full", "wb");
    ASSERT_NE(full, nullptr);
    AttachReportStream(full);
    ReportWrite(std::string(size, 'z'));
    ReportWriteKept(kept[0]);
    EXPECT_FALSE(CloseReportFile()) << size;
    std::fclose(full);
  }
}

// A write into a pipe that a signal interrupts midway returns what it wrote
// so far: the rest follows it, not the whole piece again, whether the
// document is written at its close or by the writing thread.
TEST(RtfWriter, WritesCutShortBySignalsGoOnWhereTheyStopped) {
  struct sigaction action {};
  action.sa_handler = [](int) {};
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART: a blocked write returns early
  struct sigaction previous {};
  ASSERT_EQ(sigaction(SIGUSR1, &action, &previous), 0);
  const auto blockHere = [] {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
  };
  for (const std::size_t size : {std::size_t{200} << 10, std::size_t{6} << 20}) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    std::FILE* stream = fdopen(ends[1], "wb");
    ASSERT_NE(stream, nullptr);
    std::string received;
    std::thread reader([&] {  // slow enough that the writes wait for room
      blockHere();
      char chunk[4096];
      for (;;) {
        const ssize_t got = read(ends[0], chunk, sizeof chunk);
        if (got <= 0) break;
        received.append(chunk, static_cast<std::size_t>(got));
        if (received.size() % (64 << 10) < sizeof chunk) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    });
    std::atomic<bool> done{false};
    std::thread signaller([&] {
      blockHere();
      while (!done) {
        kill(getpid(), SIGUSR1);
        std::this_thread::sleep_for(std::chrono::microseconds(300));
      }
    });
    std::string expected;
    AttachReportStream(stream);
    for (std::size_t i = 0; expected.size() < size; ++i) {
      std::string piece = "line " + std::to_string(i) + "\\par\n";
      ReportWrite(piece);
      expected += piece;
      if (i % 100 == 0) {
        static const std::string kKept(3000, 'k');
        ReportWriteKept(kKept);
        expected += kKept;
      }
    }
    const bool closed = CloseReportFile();
    done = true;
    signaller.join();
    std::fclose(stream);
    reader.join();
    close(ends[0]);
    EXPECT_TRUE(closed) << size;
    ASSERT_EQ(received.size(), expected.size()) << size;
    EXPECT_TRUE(received == expected) << size;
  }
  sigaction(SIGUSR1, &previous, nullptr);
}

// After ReportSettleKept the kept pieces may go: what was written before is
// in the file, and the document goes on after it, in order, whether it is
// still small or already handed to the writing thread.
TEST(RtfWriter, SettlingKeptPiecesMidwayKeepsTheDocumentWholeAndInOrder) {
  testing::TempProgramDir dir;
  for (const int lines : {10, 200'000}) {
    SCOPED_TRACE(lines);
    std::string expected;
    std::deque<std::string> kept;  // each stays until it is settled
    ASSERT_TRUE(OpenReportFile());
    for (int i = 0; i < lines; ++i) {
      kept.emplace_back(300, static_cast<char>('a' + i % 26));
      const std::string piece = "\n  line " + std::to_string(i) + "\\par";
      ReportWrite(piece);
      ReportWriteKept(kept.back());
      expected += piece + kept.back();
      if (i % (lines / 5) == lines / 10) {
        ReportSettleKept();
        for (std::string& k : kept) std::fill(k.begin(), k.end(), '#');  // they may change now
        kept.clear();
      }
    }
    ReportWrite("\n}");
    expected += "\n}";
    ASSERT_TRUE(CloseReportFile());
    const std::string written = testing::ReadFileBytes(dir.path() / "velmar32.tmp");
    ASSERT_EQ(written.size(), expected.size());
    EXPECT_TRUE(written == expected);
  }
}

}  // namespace
}  // namespace velmar
