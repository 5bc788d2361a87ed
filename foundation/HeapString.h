// HeapString: an owning NUL-terminated byte string (Shift-JIS bytes pass through unchanged).
// `text` is null for "no text"; every copy allocates exactly length + 1 bytes with new[].
#pragma once

class HeapString {
 public:
  HeapString() = default;
  // A copy of `source`; null stays null.
  explicit HeapString(const char* source);
  // The one character followed by a zero byte.
  explicit HeapString(char c);
  HeapString(const HeapString& other);
  HeapString(HeapString&& other) noexcept;
  ~HeapString();

  // Frees the old text, then holds a copy of the source (null stays null).
  HeapString& operator=(const HeapString& other);
  HeapString& operator=(HeapString&& other) noexcept;
  HeapString& operator=(const char* source);

  // The text, or "" when null (never null itself).
  const char* c_str() const { return text ? text : ""; }
  // Hands the buffer to the caller (who frees it with delete[]); the string becomes null.
  char* takeText();

  char* text = nullptr;  // owned; null means no text
};

// The text of a followed by the text of b; a null operand counts as empty. Never null.
HeapString operator+(const HeapString& a, const HeapString& b);
HeapString operator+(const HeapString& a, const char* b);

// A new[] copy of `source` (length + 1 bytes), or null for a null source or a failed allocation.
char* copyText(const char* source);
