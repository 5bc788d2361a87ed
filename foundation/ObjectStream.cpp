#include "foundation/ObjectStream.h"

#include <cstring>
#include <new>

#include "foundation/ClassRegistry.h"

namespace {

// Nesting of readObject calls in progress (records inside records).
int gReadDepth = 0;

void putUint32(unsigned char* bytes, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(value >> (8 * i));
}

std::uint32_t getUint32(const unsigned char* bytes) {
  return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
         std::uint32_t(bytes[3]) << 24;
}

}  // namespace

int readInt32(Stream& stream, std::int32_t& value) {
  unsigned char bytes[4];
  if (!stream.read(bytes, 4)) return 0;
  value = static_cast<std::int32_t>(getUint32(bytes));
  return 1;
}

int writeInt32(Stream& stream, std::int32_t value) {
  unsigned char bytes[4];
  putUint32(bytes, static_cast<std::uint32_t>(value));
  return stream.write(bytes, 4);
}

int readChunkHeader(Stream& stream, ChunkHeader& header) {
  unsigned char bytes[kChunkHeaderSize];
  if (!stream.read(bytes, kChunkHeaderSize)) return 0;
  header.start = static_cast<std::int32_t>(getUint32(bytes));
  header.end = static_cast<std::int32_t>(getUint32(bytes + 4));
  header.tag = getUint32(bytes + 8);
  return 1;
}

int writeChunkHeader(Stream& stream, const ChunkHeader& header) {
  unsigned char bytes[kChunkHeaderSize];
  putUint32(bytes, static_cast<std::uint32_t>(header.start));
  putUint32(bytes + 4, static_cast<std::uint32_t>(header.end));
  putUint32(bytes + 8, header.tag);
  return stream.write(bytes, kChunkHeaderSize);
}

TQelLSObj* readObject(Stream& stream) {
  if (gReadDepth >= kMaxObjectNesting) return nullptr;
  std::int32_t length = 0;
  if (!readInt32(stream, length) || length < 0 || length > kMaxClassNameLength) return nullptr;
  char name[kMaxClassNameLength + 1];
  if (!stream.read(name, length)) return nullptr;
  name[length] = 0;
  ClassRecord* record = findClassRecord(name);
  if (!record || !record->factory) return nullptr;
  TQelLSObj* object = record->factory();
  if (!object) return nullptr;
  ++gReadDepth;
  int loaded = object->loadChunkList(stream) && object->load(stream);
  --gReadDepth;
  if (!loaded) {
    delete object;
    return nullptr;
  }
  return object;
}

int readString(Stream& stream, char*& out) {
  std::int32_t length = 0;
  if (!readInt32(stream, length) || length < 0) return 0;
  std::int32_t at = stream.tell();
  if (at < 0 || length > stream.length() - at) return 0;
  char* text = new (std::nothrow) char[static_cast<std::size_t>(length) + 1];
  if (!text) return 0;
  if (!stream.read(text, length)) {
    delete[] text;
    return 0;
  }
  text[length] = 0;
  out = text;
  return 1;
}

int writeString(Stream& stream, const char* text) {
  if (!text) return writeInt32(stream, 1) && stream.write("", 1);
  std::int32_t length = static_cast<std::int32_t>(std::strlen(text));
  return writeInt32(stream, length) && stream.write(text, length);
}
