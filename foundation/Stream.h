// Stream: the engine's byte-stream interface. Positions and lengths are signed 32-bit byte
// counts from the start. read/write move one whole block or report failure.
#pragma once

#include <cstdint>

class Stream {
 public:
  virtual ~Stream() = default;
  // Absolute positioning from the start; 0 on success, non-zero on failure.
  virtual int seek(std::int32_t position) = 0;
  // Current position, or -1 when there is none.
  virtual std::int32_t tell() = 0;
  // 1 when all `length` bytes were read into `buffer`, else 0.
  virtual int read(void* buffer, std::int32_t length) = 0;
  // 1 when all `length` bytes were written, else 0.
  virtual int write(const void* buffer, std::int32_t length) = 0;
  // Total length in bytes.
  virtual std::int32_t length() = 0;

 protected:
  Stream() = default;
  Stream(const Stream&) = delete;
  Stream& operator=(const Stream&) = delete;
};
