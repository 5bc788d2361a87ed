// FileStream: a Stream over a buffered host file. Names are resolved as the original
// platform saw them (platform::openFile: backslashes, letter case). A file that cannot be
// opened appends the open-failure message to the debug log; the stream then has no file and
// reads nothing, writes nothing and has length 0.
#pragma once

#include <cstdio>

#include "foundation/Stream.h"

class FileStream : public Stream {
 public:
  FileStream() = default;
  // Opens at once; construction does not fail (see isOpen).
  FileStream(const char* name, const char* mode);
  ~FileStream() override;

  int seek(std::int32_t position) override;
  std::int32_t tell() override;
  int read(void* buffer, std::int32_t length) override;
  int write(const void* buffer, std::int32_t length) override;
  // Length of the open file; 0 without a file, for an unknown position or a length beyond 2 GiB.
  // The position is unchanged afterwards.
  std::int32_t length() override;

  // Closes any open file, then opens; 1 on success, 0 on failure (logged).
  virtual int open(const char* name, const char* mode);
  // Closes the file if open.
  virtual void close();

  // Positions at the end of the file (offset 0 from the end); 0 on success.
  int seekToEnd();
  bool isOpen() const { return file != nullptr; }

 private:
  int openQuietly(const char* name, const char* mode);

  std::FILE* file = nullptr;
};
