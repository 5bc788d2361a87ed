// FileStream, file-name resolution, HeapString and the debug log's bytes.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "foundation/DebugLog.h"
#include "foundation/FileStream.h"
#include "foundation/HeapString.h"
#include "platform/files/FileNames.h"
#include "tests/support/test_files.h"

namespace {

std::string logText() { return qeltest::readFileText(kDebugLogFileName); }

// The open-failure prefix as iconv converts it, independently of the stored bytes.
std::string iconvPrefix() {
  std::FILE* pipe =
      ::popen("printf '%s' 'ファイルのオープンに失敗しました FileName…' | iconv -f UTF-8 -t CP932", "r");
  if (!pipe) return {};
  std::string out;
  char buffer[256];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  ::pclose(pipe);
  return out + " \"";
}

TEST(DebugLog, OpenFailureMessageBytes) {
  resetDebugLog();
  std::string expected = iconvPrefix();
  ASSERT_EQ(expected.size(), 45u);
  EXPECT_EQ(std::string(kOpenFailurePrefix), expected);
  FileStream stream("box.x", "rb");
  EXPECT_FALSE(stream.isOpen());
  EXPECT_EQ(stream.length(), 0);
  char byte = 0;
  EXPECT_EQ(stream.read(&byte, 1), 0);
  EXPECT_EQ(stream.write(&byte, 1), 0);
  EXPECT_EQ(logText(), expected + "box.x\"\r\n");
  // A second failure appends a second record after the first.
  FileStream other;
  EXPECT_EQ(other.open("data\\missing.bmp", "rb"), 0);
  EXPECT_EQ(logText(), expected + "box.x\"\r\n" + expected + "data\\missing.bmp\"\r\n");
}

TEST(DebugLog, ResetEmptiesAndMessagesAreUnchanged) {
  ASSERT_TRUE(qeltest::writeFileText(kDebugLogFileName, "old contents"));
  resetDebugLog();
  EXPECT_TRUE(qeltest::fileExists(kDebugLogFileName));
  EXPECT_EQ(logText(), "");
  appendToDebugLog("one");
  appendToDebugLog("two\r\n");
  EXPECT_EQ(logText(), "onetwo\r\n");
}

TEST(DebugLog, UnopenableLogDropsMessagesWithoutRecursion) {
  std::remove(kDebugLogFileName);
  ASSERT_EQ(::mkdir(kDebugLogFileName, 0755), 0);  // a folder cannot be opened as the log
  appendToDebugLog("dropped");
  FileStream missing("missing.x", "rb");  // its report goes nowhere, and returns
  EXPECT_FALSE(missing.isOpen());
  ASSERT_EQ(::rmdir(kDebugLogFileName), 0);
  appendToDebugLog("kept");
  EXPECT_EQ(logText(), "kept");
}

TEST(FileStream, ReadWriteSeekAndLength) {
  {
    FileStream out("Data.BIN", "wb");
    ASSERT_TRUE(out.isOpen());
    EXPECT_EQ(out.write("0123456789", 10), 1);
    EXPECT_EQ(out.tell(), 10);
  }
  FileStream in("data.bin", "rb");  // found ignoring letter case
  ASSERT_TRUE(in.isOpen());
  EXPECT_EQ(in.seek(3), 0);
  EXPECT_EQ(in.length(), 10);
  EXPECT_EQ(in.tell(), 3);  // length leaves the position alone
  char buffer[8] = {};
  EXPECT_EQ(in.read(buffer, 4), 1);
  EXPECT_EQ(std::string(buffer, 4), "3456");
  EXPECT_EQ(in.read(buffer, 4), 0);  // only three bytes left
  EXPECT_EQ(in.read(buffer, -1), 0);
  in.close();
  EXPECT_FALSE(in.isOpen());
  EXPECT_EQ(in.tell(), -1);
  EXPECT_EQ(in.open("DATA.bin", "rb"), 1);
}

TEST(FileNames, ExactThenCaseInsensitiveWithBackslashes) {
  ASSERT_EQ(::mkdir("Models", 0755), 0);
  ASSERT_TRUE(qeltest::writeFileText("Models/bakuhatsu.bmp", "lower"));
  EXPECT_EQ(platform::resolveFileName("models\\bakuhatsu.BMP"), "Models/bakuhatsu.bmp");
  EXPECT_EQ(platform::resolveFileName("Models/bakuhatsu.bmp"), "Models/bakuhatsu.bmp");
  // An exact match wins over a name equal ignoring case.
  ASSERT_TRUE(qeltest::writeFileText("Models/bakuhatsu.BMP", "upper"));
  EXPECT_EQ(platform::resolveFileName("Models\\bakuhatsu.BMP"), "Models/bakuhatsu.BMP");
  // A missing part keeps what resolved and appends the rest, so a file can be created there.
  EXPECT_EQ(platform::resolveFileName("MODELS\\new\\file.x"), "Models/new/file.x");
  FileStream stream("MODELS\\BAKUHATSU.bmp", "rb");
  EXPECT_TRUE(stream.isOpen());
  EXPECT_EQ(platform::openFile(nullptr, "rb"), nullptr);
}

TEST(HeapString, CopiesConcatenationAndNull) {
  HeapString none;
  HeapString both = none + none;
  ASSERT_NE(both.text, nullptr);
  EXPECT_STREQ(both.text, "");
  HeapString target("abc");
  target = none;
  EXPECT_EQ(target.text, nullptr);
  target = "x\x82\xa0";
  EXPECT_STREQ((target + HeapString('!')).text, "x\x82\xa0!");
  target = target;  // self-assignment keeps the value
  EXPECT_STREQ(target.text, "x\x82\xa0");
  target = target.text;  // assigning its own text too
  EXPECT_STREQ(target.text, "x\x82\xa0");
  HeapString c('{');
  EXPECT_STREQ(c.text, "{");
  HeapString moved(std::move(c));
  EXPECT_EQ(c.text, nullptr);
  EXPECT_STREQ(moved.c_str(), "{");
}

}  // namespace
