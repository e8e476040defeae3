#include "texts/line_reader.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace velmar {
namespace {

class LineReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("velmar_lines_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::vector<std::string> Read(const std::string& bytes, std::size_t maxChars) {
    const auto path = (dir_ / "f.txt").string();
    std::ofstream(path, std::ios::binary) << bytes;
    TextFileReader reader;
    EXPECT_TRUE(reader.Open(path));
    std::vector<std::string> lines;
    std::string line;
    while (reader.ReadLine(line, maxChars)) lines.push_back(line);
    return lines;
  }

  std::filesystem::path dir_;
};

TEST_F(LineReaderTest, CrLfAndLfReadAlike) {
  EXPECT_EQ(Read("a\r\nb\nc", 100), (std::vector<std::string>{"a\n", "b\n", "c"}));
  // A carriage return not followed by a line feed stays.
  EXPECT_EQ(Read("a\rb\r\r\n", 100), (std::vector<std::string>{"a\rb\r\n"}));
}

TEST_F(LineReaderTest, LongLinesArriveInPieces) {
  EXPECT_EQ(Read("abcdefg\nhi\n", 3),
            (std::vector<std::string>{"abc", "def", "g\n", "hi\n"}));
  // A line of exactly the piece size leaves its line feed as an empty line.
  EXPECT_EQ(Read("abc\n", 3), (std::vector<std::string>{"abc", "\n"}));
  // A CRLF split across the reader's internal buffer still folds.
  const std::string big(65535, 'x');
  const auto lines = Read(big + "\r\nz", 100000);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], big + "\n");
}

TEST_F(LineReaderTest, NulByteEndsThePiece) {
  EXPECT_EQ(Read(std::string("ab\0cd\nef\n", 9), 100),
            (std::vector<std::string>{"ab", "ef\n"}));
}

TEST_F(LineReaderTest, DirectoriesAndMissingFilesDoNotOpen) {
  TextFileReader reader;
  EXPECT_FALSE(reader.Open(dir_.string()));
  // Refusing a folder leaves nothing open: with room for 256 open files,
  // a thousand refusals, and a file still opens.
  std::ofstream((dir_ / "f.txt").string()) << "x\n";
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
  rlimit low = saved;
  low.rlim_cur = 256;
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &low), 0);
  for (int i = 0; i < 1000; ++i) EXPECT_FALSE(reader.Open(dir_.string()));
  const bool opened = reader.Open((dir_ / "f.txt").string());
  reader.Close();
  setrlimit(RLIMIT_NOFILE, &saved);
  EXPECT_TRUE(opened);
  EXPECT_FALSE(reader.Open((dir_ / "missing").string()));
  std::string line;
  EXPECT_FALSE(reader.ReadLine(line, 10));
}

TEST(LineTools, TrimLineEndRemovesBlanksAndLineEnds) {
  std::string s = "abc \r\n \n";
  TrimLineEnd(s);
  EXPECT_EQ(s, "abc");
  s = " \r\n";
  TrimLineEnd(s);
  EXPECT_EQ(s, "");
  s = "a\tb\t";
  TrimLineEnd(s);
  EXPECT_EQ(s, "a\tb\t");  // tabs stay
}

TEST(LineTools, LeadingIntegerReadsAsAtoi) {
  EXPECT_EQ(LeadingInteger("  -12x"), -12);
  EXPECT_EQ(LeadingInteger("+7"), 7);
  EXPECT_EQ(LeadingInteger("1a"), 1);
  EXPECT_EQ(LeadingInteger("abc"), 0);
  EXPECT_EQ(LeadingInteger(""), 0);
  EXPECT_EQ(LeadingInteger("- 5"), 0);
  EXPECT_EQ(LeadingInteger("500\r"), 500);
  EXPECT_EQ(LeadingInteger("99999999999999999999999"), LONG_MAX);
  EXPECT_EQ(LeadingInteger("-99999999999999999999999"), -LONG_MAX);
}

}  // namespace
}  // namespace velmar
