// TextStream: a MemoryStream read as text, token by token, by direct scanning of the buffer.
// Bytes pass unchanged (Shift-JIS included); the end of the data, or a zero byte, ends the
// text. Each token is a new HeapString; at the end every call returns an empty token and the
// position no longer moves.
#pragma once

#include "foundation/HeapString.h"
#include "foundation/MemoryStream.h"

class TextStream : public MemoryStream {
 public:
  // Identifiers that may hold Shift-JIS double-byte characters, numbers and punctuation;
  // other bytes (line ends included) are skipped.
  virtual HeapString nextIdentifierToken();

  // The .x reader's tokenizer: blanks (space, tab, 0x07, CR, LF) separate; a number is
  // [0-9.-] then digits and points; ! " # % & ' ( ) * + , / : ; < = > ? @ [ \ ] ^ { | } stand
  // alone; anything else starts a word that runs to a blank, a zero, { } , ; or ".
  HeapString nextToken();

 private:
  // The byte at offset i, or 0 at and past the end of the data.
  unsigned char at(std::int32_t i) const { return i >= 0 && i < size ? data[i] : 0; }
  // A copy of the bytes [begin, end), after which the position becomes `end`.
  HeapString take(std::int32_t begin, std::int32_t end);
  // The end of the number token starting at `i`.
  std::int32_t numberEnd(std::int32_t i) const;
};
