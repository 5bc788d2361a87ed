#include "foundation/FileStream.h"

#include <climits>

#include "foundation/DebugLog.h"
#include "platform/files/FileNames.h"

FileStream::FileStream(const char* name, const char* mode) {
  if (!openQuietly(name, mode)) logOpenFailure(name);
}

FileStream::~FileStream() { close(); }

int FileStream::openQuietly(const char* name, const char* mode) {
  file = platform::openFile(name, mode);
  return file != nullptr;
}

int FileStream::open(const char* name, const char* mode) {
  close();
  if (openQuietly(name, mode)) return 1;
  logOpenFailure(name);
  return 0;
}

void FileStream::close() {
  if (file) std::fclose(file);
  file = nullptr;
}

int FileStream::seek(std::int32_t position) {
  if (!file) return -1;
  return std::fseek(file, position, SEEK_SET);
}

int FileStream::seekToEnd() {
  if (!file) return -1;
  return std::fseek(file, 0, SEEK_END);
}

std::int32_t FileStream::tell() {
  if (!file) return -1;
  long position = std::ftell(file);
  if (position < 0 || position > INT32_MAX) return -1;
  return static_cast<std::int32_t>(position);
}

int FileStream::read(void* buffer, std::int32_t length) {
  if (!file || length < 0 || (length > 0 && !buffer)) return 0;
  return std::fread(buffer, 1, static_cast<std::size_t>(length), file) == static_cast<std::size_t>(length);
}

int FileStream::write(const void* buffer, std::int32_t length) {
  if (!file || length < 0 || (length > 0 && !buffer)) return 0;
  return std::fwrite(buffer, 1, static_cast<std::size_t>(length), file) == static_cast<std::size_t>(length);
}

std::int32_t FileStream::length() {
  if (!file) return 0;
  long position = std::ftell(file);
  if (position < 0) return 0;
  long end = -1;
  if (std::fseek(file, 0, SEEK_END) == 0) end = std::ftell(file);
  std::fseek(file, position, SEEK_SET);
  if (end < 0 || end > INT32_MAX) return 0;
  return static_cast<std::int32_t>(end);
}
