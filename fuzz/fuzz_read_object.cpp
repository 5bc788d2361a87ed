// libFuzzer target: arbitrary bytes as an object stream. readObject must refuse or accept
// without crashing, hanging or leaking; an accepted object is saved again and released.
#include <cstddef>
#include <cstdint>

#include "foundation/MemoryStream.h"
#include "foundation/ObjectStream.h"
#include "foundation/TQelLSObj.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > (1u << 20)) return 0;
  MemoryStream stream;
  if (!stream.assign(data, static_cast<std::int32_t>(size))) return 0;
  // Read records one after another, as a reader of a stream of several objects would.
  for (int i = 0; i < 64; ++i) {
    TQelLSObj* object = readObject(stream);
    if (!object) break;
    MemoryStream out;
    if (out.allocate(static_cast<std::int32_t>(size) * 2 + 64)) object->save(out);
    object->release();
  }
  return 0;
}
