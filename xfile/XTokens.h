// The token discipline shared by every part of the .x reader. Each reading routine keeps its
// own current token (a HeapString) and takes tokens from the TextStream that holds the file.
// Keywords are compared byte for byte. Numbers are read either at a fixed stride (the token
// in place is converted with sscanf, a token that does not convert leaves the value as it was)
// or by scanning (separators are dropped until a token starting with a letter, digit or '-').
// The empty token is the end of the data: every loop here stops at it, so a file that ends
// inside a block ends every open block.
#pragma once

#include <cstdint>

#include "foundation/HeapString.h"
#include "foundation/TextStream.h"

// True when `token` is exactly `keyword`.
bool isToken(const HeapString& token, const char* keyword);
// True for the empty token: the end of the data.
bool isEndOfData(const HeapString& token);
// current = the next token of `text`.
void takeToken(TextStream& text, HeapString& current);
// Takes tokens until the current one is `wanted` (it is not taken again when already current)
// or the data ends. True when `wanted` was found.
bool takeTokensUntil(TextStream& text, HeapString& current, const char* wanted);

// Consumes the rest of the block the reader stands in and ends with its "}" as the current
// token (at once when the current token is "}"); nested blocks are counted. Ends at the end of
// the data too.
void skipToBlockEnd(TextStream& text, HeapString& current);

// Fixed stride: converts the token with "%f" / "%d"; the destination is unchanged when it does
// not convert.
void convertFloat(const HeapString& token, float& destination);
void convertInt(const HeapString& token, std::int32_t& destination);
// Fixed stride: takes one token and converts it; then takes `separators` more tokens.
void readFixedFloat(TextStream& text, HeapString& current, float& destination, int separators);
void readFixedInt(TextStream& text, HeapString& current, std::int32_t& destination, int separators);

// Scanning, from the current token: drops tokens until one starts with an ASCII letter, digit
// or '-', converts it with "%f", then takes the token after it. At the end of the data the
// destination stays unchanged.
void scanFloat(TextStream& text, HeapString& current, float& destination);

// Bytes of the file not yet cut into tokens.
std::int32_t remainingBytes(TextStream& text);
// A declared item count bounded by what the rest of the file could hold: negative counts give
// 0, and no more items than remainingBytes / tokensPerItem + 1 (every token takes a byte).
std::int32_t boundedCount(std::int32_t declared, TextStream& text, std::int32_t tokensPerItem);
