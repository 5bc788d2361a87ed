// Little-endian reads from a byte buffer, bounds-checked by the caller's size.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

inline std::uint16_t readLe16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
inline std::uint32_t readLe32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}
// True when [offset, offset + length) lies within `size` bytes (no overflow).
inline bool spanFits(std::uint64_t offset, std::uint64_t length, std::size_t size) {
  return offset <= size && length <= size - offset;
}

}  // namespace platform
