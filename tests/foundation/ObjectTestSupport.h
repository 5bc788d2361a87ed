// Helpers for the object-stream tests: saving to bytes, reading from bytes, building records.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/MemoryStream.h"
#include "foundation/ObjectStream.h"
#include "foundation/TQelLSObj.h"

namespace qeltest {

// The bytes `object` saves at position 0 of a large enough memory stream ("" when save fails).
inline std::string savedBytes(TQelLSObj& object, std::int32_t room = 1 << 20) {
  MemoryStream stream;
  if (!stream.allocate(room) || !object.save(stream)) return "";
  return std::string(reinterpret_cast<const char*>(stream.bytes()), static_cast<std::size_t>(stream.tell()));
}

inline void loadBytes(MemoryStream& stream, const std::string& bytes) {
  stream.assign(bytes.data(), static_cast<std::int32_t>(bytes.size()));
}

inline std::string int32Bytes(std::int32_t value) {
  std::string out(4, '\0');
  for (int i = 0; i < 4; ++i) out[i] = static_cast<char>(static_cast<std::uint32_t>(value) >> (8 * i));
  return out;
}

inline std::string headerBytes(std::int32_t start, std::int32_t end, std::uint32_t tag) {
  return int32Bytes(start) + int32Bytes(end) + int32Bytes(static_cast<std::int32_t>(tag));
}

// A stored class name: int32 length, then the bytes.
inline std::string nameBytes(const std::string& name) {
  return int32Bytes(static_cast<std::int32_t>(name.size())) + name;
}

// A record of `name` at `position` with an empty chunk list.
inline std::string emptyRecord(const std::string& name, std::int32_t position) {
  std::int32_t at = position + 4 + static_cast<std::int32_t>(name.size());
  return nameBytes(name) + headerBytes(at, at + 12, kChunkListEndTag);
}

}  // namespace qeltest
