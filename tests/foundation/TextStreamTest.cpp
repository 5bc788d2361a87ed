// MemoryStream bounds, loadFile and the two tokenizers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/DebugLog.h"
#include "foundation/TextStream.h"
#include "tests/support/test_files.h"

namespace {

void fill(TextStream& s, const std::string& text) {
  ASSERT_EQ(s.assign(text.data(), static_cast<std::int32_t>(text.size())), 1);
}

std::vector<std::string> tokens(TextStream& s, bool identifiers, int count) {
  std::vector<std::string> out;
  for (int i = 0; i < count; ++i) {
    HeapString t = identifiers ? s.nextIdentifierToken() : s.nextToken();
    out.push_back(t.c_str());
  }
  return out;
}

using Tokens = std::vector<std::string>;

TEST(MemoryStream, BlocksMayEndExactlyAtTheEnd) {
  MemoryStream s;
  ASSERT_EQ(s.assign("0123456789", 10), 1);
  char buffer[11] = {};
  EXPECT_EQ(s.read(buffer, 10), 1);  // the whole buffer in one block
  EXPECT_EQ(s.tell(), 10);
  EXPECT_EQ(s.read(buffer, 1), 0);
  EXPECT_EQ(s.read(buffer, 0), 1);
  s.seek(8);
  EXPECT_EQ(s.read(buffer, 3), 0);  // refused whole, position unchanged
  EXPECT_EQ(s.tell(), 8);
  EXPECT_EQ(s.write("ab", 2), 1);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(s.bytes()), 10), "01234567ab");
  EXPECT_EQ(s.write("c", 1), 0);  // never grows
  EXPECT_EQ(s.read(buffer, -1), 0);
  EXPECT_EQ(s.length(), 10);
}

TEST(MemoryStream, SeekClampsToTheData) {
  MemoryStream s;
  s.assign("0123456789", 10);
  s.seek(10);
  EXPECT_EQ(s.tell(), 10);  // the end, not the last byte
  s.seek(1000);
  EXPECT_EQ(s.tell(), 10);
  s.seek(-5);
  EXPECT_EQ(s.tell(), 0);
  MemoryStream empty;
  empty.seek(3);
  EXPECT_EQ(empty.tell(), 0);  // never before the (absent) data
  char byte;
  EXPECT_EQ(empty.read(&byte, 1), 0);
}

TEST(MemoryStream, LoadFile) {
  resetDebugLog();
  ASSERT_TRUE(qeltest::writeFileText("model.x", "xof 0302txt"));
  TextStream s;
  ASSERT_EQ(s.loadFile("MODEL.X"), 1);
  EXPECT_EQ(s.length(), 11);
  EXPECT_EQ(tokens(s, false, 3), (Tokens{"xof", "0302", "txt"}));
  // An empty file: 0, nothing logged, the stream left empty.
  ASSERT_TRUE(qeltest::writeFileText("empty.x", ""));
  s.seek(5);
  EXPECT_EQ(s.loadFile("empty.x"), 0);
  EXPECT_EQ(s.length(), 0);
  EXPECT_EQ(s.tell(), 0);
  EXPECT_EQ(qeltest::readFileText(kDebugLogFileName), "");
  EXPECT_EQ(s.nextToken().text[0], 0);
  // A missing file is logged by the file stream; a folder is refused as well.
  EXPECT_EQ(s.loadFile("missing.x"), 0);
  EXPECT_NE(qeltest::readFileText(kDebugLogFileName).find("missing.x\"\r\n"), std::string::npos);
  EXPECT_EQ(s.loadFile("."), 0);
}

TEST(TextStream, NextTokenSplitsAFrame) {
  TextStream s;
  fill(s, "Frame Box {\r\n 1.0, -2;\r\n}");
  EXPECT_EQ(tokens(s, false, 10), (Tokens{"Frame", "Box", "{", "1.0", ",", "-2", ";", "}", "", ""}));
}

TEST(TextStream, NextTokenWordsNumbersAndQuotes) {
  TextStream s;
  fill(s, "Mesh{ \"f22.x\" -0.5 1e-3 a(b[c;d\x82\xa0\x7f\t_$~`z");
  EXPECT_EQ(tokens(s, false, 13), (Tokens{"Mesh", "{", "\"", "f22.x", "\"", "-0.5", "1", "e-3", "a(b[c", ";",
                                          "d\x82\xa0\x7f", "_$~`z", ""}));
}

TEST(TextStream, TrailingBlanksStayUnconsumed) {
  TextStream s;
  fill(s, "end \t\r\n  ");
  EXPECT_EQ(s.nextToken().c_str(), std::string("end"));
  EXPECT_EQ(s.tell(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_STREQ(s.nextToken().c_str(), "");
    EXPECT_EQ(s.tell(), 3);
  }
  // A zero byte inside the data ends the text as well.
  TextStream z;
  fill(z, std::string("a\0b", 3));
  EXPECT_EQ(tokens(z, false, 2), (Tokens{"a", ""}));
}

TEST(TextStream, TokensStopAtTheEndOfTheData) {
  // The last token runs into the end of the data, which acts as a zero byte.
  TextStream word;
  fill(word, "abc");
  EXPECT_EQ(tokens(word, false, 2), (Tokens{"abc", ""}));
  EXPECT_EQ(word.tell(), 3);
  TextStream number;
  fill(number, "-12.5");
  EXPECT_EQ(tokens(number, false, 2), (Tokens{"-12.5", ""}));
  TextStream empty;
  EXPECT_EQ(tokens(empty, false, 1), (Tokens{""}));
  EXPECT_EQ(tokens(empty, true, 1), (Tokens{""}));
}

TEST(TextStream, IdentifierTokens) {
  // Shift-JIS "日本" then ASCII; a lead byte's partner may be any byte.
  TextStream s;
  fill(s, "\x93\xfa\x96\x7b_1x a-1 $`~\r\n{name}");
  EXPECT_EQ(tokens(s, true, 8), (Tokens{"\x93\xfa\x96\x7b_1x", "a", "-1", "{", "name", "}", "", ""}));
  // A lead byte at the very end does not take the end of the data with it.
  TextStream cut;
  fill(cut, "ab\x82");
  EXPECT_EQ(tokens(cut, true, 2), (Tokens{"ab\x82", ""}));
  EXPECT_EQ(cut.tell(), 3);
}

}  // namespace
