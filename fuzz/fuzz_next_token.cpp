// libFuzzer target: arbitrary bytes as text. Both tokenizers run to the end of the data
// (the empty token) without reading past it; every token must advance the position.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "foundation/TextStream.h"

namespace {

void drain(TextStream& text, bool identifiers) {
  for (;;) {
    std::int32_t before = text.tell();
    HeapString token = identifiers ? text.nextIdentifierToken() : text.nextToken();
    if (!token.text || token.text[0] == 0) {
      if (text.tell() != before) std::abort();  // the end never moves the position
      return;
    }
    if (text.tell() <= before || text.tell() > text.length()) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > (1u << 20)) return 0;
  TextStream text;
  if (!text.assign(data, static_cast<std::int32_t>(size))) return 0;
  drain(text, false);
  text.seek(0);
  drain(text, true);
  return 0;
}
