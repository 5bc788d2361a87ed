#include "foundation/MemoryStream.h"

#include <cstring>
#include <new>

#include "foundation/FileStream.h"

MemoryStream::~MemoryStream() { clear(); }

void MemoryStream::clear() {
  delete[] data;
  data = nullptr;
  position = 0;
  size = 0;
}

int MemoryStream::seek(std::int32_t p) {
  if (p < 0) {
    position = 0;
    return 1;
  }
  if (p > size) {
    position = size;
    return 1;
  }
  position = p;
  return 0;
}

int MemoryStream::read(void* buffer, std::int32_t n) {
  if (n < 0 || std::int64_t(position) + n > size) return 0;
  if (n > 0) std::memcpy(buffer, data + position, static_cast<std::size_t>(n));
  position += n;
  return 1;
}

int MemoryStream::write(const void* buffer, std::int32_t n) {
  if (n < 0 || std::int64_t(position) + n > size) return 0;
  if (n > 0) std::memcpy(data + position, buffer, static_cast<std::size_t>(n));
  position += n;
  return 1;
}

int MemoryStream::allocate(std::int32_t n) {
  clear();
  if (n < 0) return 0;
  data = new (std::nothrow) unsigned char[static_cast<std::size_t>(n) + 1]();
  if (!data) return 0;
  size = n;
  return 1;
}

int MemoryStream::assign(const void* bytes, std::int32_t n) {
  if (!allocate(n)) return 0;
  if (n > 0) std::memcpy(data, bytes, static_cast<std::size_t>(n));
  return 1;
}

int MemoryStream::loadFile(const char* name) {
  FileStream file(name, "rb");
  std::int32_t fileSize = file.length();
  if (fileSize <= 0 || fileSize == INT32_MAX || !allocate(fileSize)) {
    clear();
    return 0;
  }
  if (!file.read(data, fileSize)) {
    clear();
    return 0;
  }
  return 1;
}
