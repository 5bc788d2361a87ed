// Reading and writing the engine's object stream: whole objects by class name, stored
// strings, and the little-endian integers and chunk headers of the format.
//   stored string: int32 n, then n bytes without terminator; a null text is stored as n = 1
//   and one zero byte.
// Streams are untrusted: every read is checked, lengths are checked against what the stream
// holds before anything is allocated, and objects nest at most kMaxObjectNesting deep.
#pragma once

#include <cstdint>

#include "foundation/Stream.h"
#include "foundation/TQelLSObj.h"

// Deepest nesting of object records (a tree's children are records inside its record).
inline constexpr int kMaxObjectNesting = 256;
// Longest class name a record may carry.
inline constexpr int kMaxClassNameLength = 255;

// Reads one object record: class name, chunk list, then the class's load. Returns the new
// object (one reference, owned by the caller), or null for an unregistered class, a name
// length outside 0..255, a short read, a damaged chunk list, a failed load or nesting deeper
// than kMaxObjectNesting. Nothing is kept of a refused record.
TQelLSObj* readObject(Stream& stream);

// Reads a stored string into a new new[] buffer of n + 1 bytes (zero-terminated) that the
// caller frees with delete[]. Refuses (0, `out` untouched) a negative length or one longer
// than the rest of the stream. An earlier buffer in `out` is not freed.
int readString(Stream& stream, char*& out);
// Writes a stored string; `text` may be null.
int writeString(Stream& stream, const char* text);

int readInt32(Stream& stream, std::int32_t& value);
int writeInt32(Stream& stream, std::int32_t value);
int readChunkHeader(Stream& stream, ChunkHeader& header);
int writeChunkHeader(Stream& stream, const ChunkHeader& header);
