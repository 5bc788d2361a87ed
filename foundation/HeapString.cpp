#include "foundation/HeapString.h"

#include <cstring>
#include <new>
#include <utility>

char* copyText(const char* source) {
  if (!source) return nullptr;
  std::size_t size = std::strlen(source) + 1;
  char* copy = new (std::nothrow) char[size];
  if (copy) std::memcpy(copy, source, size);
  return copy;
}

HeapString::HeapString(const char* source) : text(copyText(source)) {}

HeapString::HeapString(char c) : text(new (std::nothrow) char[2]) {
  if (text) {
    text[0] = c;
    text[1] = 0;
  }
}

HeapString::HeapString(const HeapString& other) : text(copyText(other.text)) {}

HeapString::HeapString(HeapString&& other) noexcept : text(std::exchange(other.text, nullptr)) {}

HeapString::~HeapString() {
  delete[] text;
  text = nullptr;
}

HeapString& HeapString::operator=(const HeapString& other) {
  if (this != &other) *this = other.text;
  return *this;
}

HeapString& HeapString::operator=(HeapString&& other) noexcept {
  if (this != &other) {
    delete[] text;
    text = std::exchange(other.text, nullptr);
  }
  return *this;
}

HeapString& HeapString::operator=(const char* source) {
  char* copy = copyText(source);  // before freeing: the source may be our own text
  delete[] text;
  text = copy;
  return *this;
}

char* HeapString::takeText() { return std::exchange(text, nullptr); }

static HeapString concatenate(const char* a, const char* b) {
  std::size_t lengthA = a ? std::strlen(a) : 0;
  std::size_t lengthB = b ? std::strlen(b) : 0;
  HeapString result;
  result.text = new (std::nothrow) char[lengthA + lengthB + 1];
  if (!result.text) return result;
  if (lengthA) std::memcpy(result.text, a, lengthA);
  if (lengthB) std::memcpy(result.text + lengthA, b, lengthB);
  result.text[lengthA + lengthB] = 0;
  return result;
}

HeapString operator+(const HeapString& a, const HeapString& b) { return concatenate(a.text, b.text); }
HeapString operator+(const HeapString& a, const char* b) { return concatenate(a.text, b); }
