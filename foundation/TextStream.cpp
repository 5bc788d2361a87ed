#include "foundation/TextStream.h"

#include <cstring>
#include <new>

namespace {

bool isBlank(unsigned char c) { return c == 0x20 || c == 0x09 || c == 0x0A || c == 0x0D || c == 0x07; }
bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool startsNumber(unsigned char c) { return isDigit(c) || c == '.' || c == '-'; }
bool isLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isSingle(unsigned char c) { return c != 0 && std::strchr("!\"#%&'()*+,/:;<=>?@[\\]^{|}", c) != nullptr; }
bool endsWord(unsigned char c) { return c == 0 || isBlank(c) || c == '{' || c == '}' || c == ',' || c == ';' || c == '"'; }

}  // namespace

HeapString TextStream::take(std::int32_t begin, std::int32_t end) {
  HeapString token;
  token.text = new (std::nothrow) char[static_cast<std::size_t>(end - begin) + 1];
  if (token.text) {
    std::memcpy(token.text, data + begin, static_cast<std::size_t>(end - begin));
    token.text[end - begin] = 0;
  }
  position = end;
  return token;
}

std::int32_t TextStream::numberEnd(std::int32_t i) const {
  ++i;
  while (isDigit(at(i)) || at(i) == '.') ++i;
  return i;
}

HeapString TextStream::nextToken() {
  std::int32_t p = position;
  while (isBlank(at(p))) ++p;
  unsigned char c = at(p);
  if (c == 0) return HeapString("");  // end of text: the blanks stay unconsumed
  if (startsNumber(c)) return take(p, numberEnd(p));
  if (isSingle(c)) return take(p, p + 1);
  std::int32_t end = p + 1;
  while (!endsWord(at(end))) ++end;
  return take(p, end);
}

HeapString TextStream::nextIdentifierToken() {
  std::int32_t p = position;
  for (;;) {
    unsigned char c = at(p);
    if (c == 0) return HeapString("");
    if (isLetter(c) || c == '_' || c >= 0x80) {
      std::int32_t end = p;
      for (;;) {
        unsigned char d = at(end);
        if (d >= 0x80) {
          // A double-byte character: the lead byte takes the next one, unless the text ends there.
          end += at(end + 1) != 0 ? 2 : 1;
        } else if (isLetter(d) || isDigit(d) || d == '_') {
          ++end;
        } else {
          break;
        }
      }
      return take(p, end);
    }
    if (startsNumber(c)) return take(p, numberEnd(p));
    if (isSingle(c)) return take(p, p + 1);
    ++p;  // anything else is skipped
  }
}
