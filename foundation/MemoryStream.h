// MemoryStream: a Stream over an owned heap buffer of fixed size. One zero byte is always
// kept just past the data (not counted in size), so text scanners see the end of the data as a
// zero byte. Positions stay within 0..size; a block may end exactly at the end of the data.
#pragma once

#include "foundation/Stream.h"

class MemoryStream : public Stream {
 public:
  MemoryStream() = default;
  ~MemoryStream() override;

  // p < 0 gives 0, p > size gives size (the end); 0 on success, 1 when clamped.
  int seek(std::int32_t position) override;
  std::int32_t tell() override { return position; }
  // Copies n bytes from the position when all of them lie within the data; else 0, nothing copied.
  int read(void* buffer, std::int32_t n) override;
  // Copies n bytes to the position under the same test; the buffer never grows.
  int write(const void* buffer, std::int32_t n) override;
  std::int32_t length() override { return size; }

  // Reads the whole file `name` ("rb"; an open failure is logged). 1 on success; on failure
  // (missing, empty, unreadable or too large) 0, and the stream is left empty.
  int loadFile(const char* name);
  // Replaces the data with a copy of `bytes` (size n >= 0), position 0. 0 when allocation fails.
  int assign(const void* bytes, std::int32_t n);
  // Replaces the data with n zero bytes, position 0 (room for writing). 0 when allocation fails.
  int allocate(std::int32_t n);
  // Frees the data; the stream becomes empty.
  void clear();

  const unsigned char* bytes() const { return data; }

 protected:
  unsigned char* data = nullptr;  // owned, size + 1 bytes with a zero at data[size]
  std::int32_t position = 0;
  std::int32_t size = 0;
};
