#include "foundation/TQelLSObj.h"

#include <cstring>

#include "foundation/ClassRegistry.h"
#include "foundation/ObjectStream.h"

ClassRecord TQelLSObj::runtimeClass;

int TQelLSObj::load(Stream&) { return 1; }

int TQelLSObj::loadChunk(Stream&, ChunkHeader&, std::uint32_t) { return 1; }

int TQelLSObj::saveChunks(Stream&, ChunkHeader&) { return 1; }

const char* TQelLSObj::className() const { return classRecord ? classRecord->className : nullptr; }

int TQelLSObj::save(Stream& stream) {
  const char* name = className();
  if (!name) return 0;
  std::int32_t length = static_cast<std::int32_t>(std::strlen(name));
  return writeInt32(stream, length) && stream.write(name, length) && saveChunkList(stream);
}

int TQelLSObj::beginChunk(Stream& stream, ChunkHeader& header, std::uint32_t tag) {
  header.tag = tag;
  header.start = stream.tell();
  header.end = header.start;
  return header.start >= 0 && writeChunkHeader(stream, header);
}

int TQelLSObj::endChunk(Stream& stream, ChunkHeader& header) {
  header.end = stream.tell();
  if (header.end < 0 || stream.seek(header.start) != 0) return 0;
  int written = writeChunkHeader(stream, header);
  return stream.seek(header.end) == 0 && written;
}

int TQelLSObj::saveChunkList(Stream& stream) {
  ChunkHeader header;
  if (!saveChunks(stream, header)) return 0;
  return beginChunk(stream, header, kChunkListEndTag) && endChunk(stream, header);
}

int TQelLSObj::loadChunkList(Stream& stream) {
  for (;;) {
    std::int64_t at = stream.tell();
    ChunkHeader header;
    if (at < 0 || !readChunkHeader(stream, header)) return 0;
    if (header.tag == kChunkListEndTag) return 1;
    if (header.end < at + kChunkHeaderSize || header.end > stream.length()) return 0;
    if (!loadChunk(stream, header, header.tag)) return 0;
    if (stream.seek(header.end) != 0) return 0;
  }
}
