#include "geometry/HeightMapFile.h"

namespace {

std::uint32_t readU32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}
std::uint16_t readU16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

// Pixel blocks beyond this are refused before anything is allocated.
constexpr std::int64_t kMaxDataBytes = 0x7FFFFFFF;

}  // namespace

HeightMapStatus readHeightMapLayout(const std::uint8_t* header, std::size_t headerLength, std::int64_t fileLength,
                                    HeightMapLayout& layout) {
  if (header == nullptr || headerLength < kHeightMapHeaderBytes || fileLength < kHeightMapPixelOffset)
    return HeightMapStatus::ShortHeader;
  if (header[0] != 'B' || header[1] != 'M' || readU32(header + 14) < 40) return HeightMapStatus::ShortHeader;
  const auto width = static_cast<std::int32_t>(readU32(header + 18));
  const auto height = static_cast<std::int32_t>(readU32(header + 22));
  const std::uint16_t bitCount = readU16(header + 28);
  const std::uint32_t compression = readU32(header + 30);
  if (bitCount != 24 || compression != 0) return HeightMapStatus::NotTrueColour;
  if (width <= 0 || height == 0 || height == INT32_MIN) return HeightMapStatus::BadDimensions;
  const std::int64_t rows = height < 0 ? -std::int64_t(height) : height;
  const std::int64_t rowBytes = ((std::int64_t(width) * 24 + 31) / 32) * 4;
  if (rowBytes > kMaxDataBytes) return HeightMapStatus::BadDimensions;
  const std::int64_t dataBytes = rowBytes * rows;  // both at most 2^31: no overflow
  if (dataBytes > kMaxDataBytes) return HeightMapStatus::BadDimensions;
  if (fileLength - kHeightMapPixelOffset < dataBytes) return HeightMapStatus::ShortPixelData;
  layout.width = width;
  layout.height = height;
  layout.rows = static_cast<std::int32_t>(rows);
  layout.rowBytes = static_cast<std::int32_t>(rowBytes);
  layout.dataBytes = static_cast<std::int32_t>(dataBytes);
  return HeightMapStatus::Ok;
}
