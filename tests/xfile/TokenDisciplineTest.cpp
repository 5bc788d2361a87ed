// The reader's token discipline: block skipping, the two ways of reading numbers, the end of
// the data ending every loop.
#include <gtest/gtest.h>

#include "tests/xfile/XTestSupport.h"
#include "xfile/XTokens.h"

namespace {

struct Tokens {
  explicit Tokens(const std::string& text) { setText(stream, text); }
  const char* next() {
    takeToken(stream, current);
    return current.c_str();
  }
  TextStream stream;
  HeapString current;
};

TEST(SkipToBlockEnd, EndsAtOnceOnAClosingBrace) {
  Tokens t("} a }");
  t.next();
  skipToBlockEnd(t.stream, t.current);
  EXPECT_STREQ(t.current.c_str(), "}");
  EXPECT_STREQ(t.next(), "a");
}

TEST(SkipToBlockEnd, CountsNestedBlocks) {
  // Entered inside two nested blocks: ends at the second "}".
  Tokens t("x { y { z } } w } after");
  t.next();
  skipToBlockEnd(t.stream, t.current);
  EXPECT_STREQ(t.current.c_str(), "}");
  EXPECT_STREQ(t.next(), "after");
  Tokens u("a { b } } c");
  u.next();
  skipToBlockEnd(u.stream, u.current);
  EXPECT_STREQ(u.next(), "c");
}

TEST(SkipToBlockEnd, EndOfDataEndsTheBlock) {
  Tokens t("a { b { c");
  t.next();
  skipToBlockEnd(t.stream, t.current);
  EXPECT_TRUE(isEndOfData(t.current));
}

TEST(NumberReading, ExponentIsAWordAfterTheNumber) {
  Tokens t("1.5e-3;");
  EXPECT_STREQ(t.next(), "1.5");
  EXPECT_STREQ(t.next(), "e-3");
  EXPECT_STREQ(t.next(), ";");
}

TEST(NumberReading, FixedStrideLeavesUnconvertedValues) {
  Tokens t("abc ; 2.5 ;");
  float value = 7.0f;
  readFixedFloat(t.stream, t.current, value, 1);
  EXPECT_EQ(value, 7.0f);
  readFixedFloat(t.stream, t.current, value, 1);
  EXPECT_EQ(value, 2.5f);
  EXPECT_STREQ(t.current.c_str(), ";");
}

TEST(NumberReading, ScanDropsSeparatorsAndLeadingPointNumbers) {
  // ".5" starts with a full stop and is dropped like a separator.
  Tokens t("; , .5 ; -2 ; 3");
  t.next();
  float a = 0, b = 0;
  scanFloat(t.stream, t.current, a);
  EXPECT_EQ(a, -2.0f);
  EXPECT_STREQ(t.current.c_str(), ";");  // the token after the number has been taken
  scanFloat(t.stream, t.current, b);
  EXPECT_EQ(b, 3.0f);
}

TEST(NumberReading, ScanStopsAtTheEndOfData) {
  Tokens t("; ; ;");
  t.next();
  float value = 4.0f;
  scanFloat(t.stream, t.current, value);
  EXPECT_EQ(value, 4.0f);
  EXPECT_TRUE(isEndOfData(t.current));
}

TEST(Tokens, QuotedFileNamesAndCommentSlashes) {
  Tokens t("\"C:\\tex\\a.bmp\" // Frame");
  EXPECT_STREQ(t.next(), "\"");
  EXPECT_STREQ(t.next(), "C:\\tex\\a.bmp");
  EXPECT_STREQ(t.next(), "\"");
  EXPECT_STREQ(t.next(), "/");
  EXPECT_STREQ(t.next(), "/");
  EXPECT_STREQ(t.next(), "Frame");
  EXPECT_TRUE(isEndOfData(HeapString(t.next())));
}

TEST(BoundedCount, ClampsNegativeAndImpossibleCounts) {
  Tokens t("1;2;3;;,");
  EXPECT_EQ(boundedCount(-5, t.stream, 7), 0);
  EXPECT_EQ(boundedCount(1, t.stream, 7), 1);
  EXPECT_EQ(boundedCount(2000000000, t.stream, 7), 2);  // 8 bytes hold one vertex, plus one
}

}  // namespace
