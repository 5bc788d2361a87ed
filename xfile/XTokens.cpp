#include "xfile/XTokens.h"

#include <cstdio>
#include <cstring>

namespace {

bool startsScannedNumber(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
}

}  // namespace

bool isToken(const HeapString& token, const char* keyword) { return std::strcmp(token.c_str(), keyword) == 0; }

bool isEndOfData(const HeapString& token) { return token.c_str()[0] == 0; }

void takeToken(TextStream& text, HeapString& current) { current = text.nextToken(); }

bool takeTokensUntil(TextStream& text, HeapString& current, const char* wanted) {
  while (!isToken(current, wanted)) {
    if (isEndOfData(current)) return false;
    takeToken(text, current);
  }
  return true;
}

void skipToBlockEnd(TextStream& text, HeapString& current) {
  int depth = 1;
  for (;;) {
    if (isToken(current, "}")) {
      if (--depth <= 0) return;
    } else if (isToken(current, "{")) {
      ++depth;
    } else if (isEndOfData(current)) {
      return;
    }
    takeToken(text, current);
  }
}

void convertFloat(const HeapString& token, float& destination) {
  float value;
  if (std::sscanf(token.c_str(), "%f", &value) == 1) destination = value;
}

void convertInt(const HeapString& token, std::int32_t& destination) {
  int value;
  if (std::sscanf(token.c_str(), "%d", &value) == 1) destination = value;
}

void readFixedFloat(TextStream& text, HeapString& current, float& destination, int separators) {
  takeToken(text, current);
  convertFloat(current, destination);
  for (int i = 0; i < separators; ++i) takeToken(text, current);
}

void readFixedInt(TextStream& text, HeapString& current, std::int32_t& destination, int separators) {
  takeToken(text, current);
  convertInt(current, destination);
  for (int i = 0; i < separators; ++i) takeToken(text, current);
}

void scanFloat(TextStream& text, HeapString& current, float& destination) {
  while (!startsScannedNumber(static_cast<unsigned char>(current.c_str()[0]))) {
    if (isEndOfData(current)) return;
    takeToken(text, current);
  }
  convertFloat(current, destination);
  takeToken(text, current);
}

std::int32_t remainingBytes(TextStream& text) {
  std::int32_t rest = text.length() - text.tell();
  return rest > 0 ? rest : 0;
}

std::int32_t boundedCount(std::int32_t declared, TextStream& text, std::int32_t tokensPerItem) {
  if (declared <= 0) return 0;
  std::int32_t most = remainingBytes(text) / tokensPerItem + 1;
  return declared < most ? declared : most;
}
