// TQelLSObj: the persistable object. It knows the record of the class that created it and
// stores itself in the engine's object stream: its class name, a list of chunks closed by a
// terminator chunk, then whatever derived classes append (all integers 32-bit little-endian,
// positions the stream's own tell values):
//   int32 n, n bytes of class name, { ChunkHeader, data }*, ChunkHeader{tag 'TEND', no data}, body
// Stream operations report success as 1 and failure as 0; a failed load leaves the object
// to be discarded by its reader.
#pragma once

#include <cstdint>

#include "foundation/RefCounted.h"
#include "foundation/Stream.h"

struct ClassRecord;

// One chunk's header: 12 bytes in the stream.
struct ChunkHeader {
  std::int32_t start = 0;  // stream position of this header
  std::int32_t end = 0;    // stream position just past the chunk's data
  std::uint32_t tag = 0;   // chunk type
};

// Tag of the header that ends a chunk list: 'TEND', stored as the bytes 44 4E 45 54.
inline constexpr std::uint32_t kChunkListEndTag = 0x54454E44;
inline constexpr std::int32_t kChunkHeaderSize = 12;

class TQelLSObj : public RefCounted {
 public:
  static ClassRecord runtimeClass;

  // Reads what save wrote after the chunk list; the base reads nothing.
  virtual int load(Stream& stream);
  // Writes the class name and the chunk list; derived classes call it first, then add their body.
  // 0 when a write fails or the object has no class record.
  virtual int save(Stream& stream);
  // Called once per chunk of the list with its header; may read any part of the chunk's data
  // (the list continues at header.end). The base ignores every chunk.
  virtual int loadChunk(Stream& stream, ChunkHeader& header, std::uint32_t tag);
  // Writes the object's chunks with beginChunk/endChunk, reusing `header`. The base writes none.
  virtual int saveChunks(Stream& stream, ChunkHeader& header);

  // Starts a chunk: header.tag = tag, header.start = tell, writes the provisional header.
  int beginChunk(Stream& stream, ChunkHeader& header, std::uint32_t tag);
  // Ends it: header.end = tell, rewrites the header at header.start, returns to header.end.
  int endChunk(Stream& stream, ChunkHeader& header);
  // Reads chunk headers up to the terminator, handing each to loadChunk and skipping to its end.
  // Refuses (0) a failed header read, or a chunk that does not end after its own header or
  // ends beyond the stream; every accepted chunk moves forward, so the loop always ends.
  int loadChunkList(Stream& stream);
  // saveChunks, then the terminator header.
  int saveChunkList(Stream& stream);

  // The registered name of the object's class, or null without a record.
  const char* className() const;

  ClassRecord* classRecord = nullptr;  // set by the class's factory only
};
