#include "platform/d3d/DepthTiles.h"

#include <algorithm>
#include <cmath>

#include <emmintrin.h>

namespace platform {

namespace {

// Unsigned 16-bit maximum in SSE2: a - b saturates to 0 where b is larger.
inline __m128i max16(__m128i a, __m128i b) { return _mm_adds_epu16(_mm_subs_epu16(a, b), b); }

}  // namespace

void DepthTiles::build(const DepthTarget& depth, int width, int height) {
  valid_ = false;
  if (!depth.usable() || width <= 0 || height <= 0 || width > depth.width || height > depth.height) return;
  constexpr int kTile = 1 << kTileShift;
  static_assert(kTile == 8, "one tile row is one 128-bit load");
  columns_ = (width + kTile - 1) >> kTileShift;
  rows_ = (height + kTile - 1) >> kTileShift;
  width_ = width;
  height_ = height;
  tiles_.resize(static_cast<std::size_t>(columns_) * rows_);
  const int whole = width >> kTileShift;  // tiles with all eight columns inside
  for (int ty = 0; ty < rows_; ++ty) {
    // The band's eight rows; a short last band repeats its bottom row, which the maximum allows.
    const std::uint16_t* band[kTile];
    for (int k = 0; k < kTile; ++k) band[k] = depth.row(std::min((ty << kTileShift) + k, height - 1));
    std::uint16_t* out = &tiles_[static_cast<std::size_t>(ty) * columns_];
    for (int tx = 0; tx < whole; ++tx) {
      const int x = tx << kTileShift;
      __m128i m = _mm_loadu_si128(reinterpret_cast<const __m128i*>(band[0] + x));
      for (int k = 1; k < kTile; ++k) m = max16(m, _mm_loadu_si128(reinterpret_cast<const __m128i*>(band[k] + x)));
      m = max16(m, _mm_shuffle_epi32(m, _MM_SHUFFLE(1, 0, 3, 2)));
      m = max16(m, _mm_shuffle_epi32(m, _MM_SHUFFLE(2, 3, 0, 1)));
      m = max16(m, _mm_srli_epi32(m, 16));
      out[tx] = static_cast<std::uint16_t>(_mm_cvtsi128_si32(m));
    }
    if (whole < columns_) {  // the last, narrower tile
      std::uint16_t m = 0;
      for (const std::uint16_t* row : band)
        for (int x = whole << kTileShift; x < width; ++x) m = std::max(m, row[x]);
      out[whole] = m;
    }
  }
  valid_ = true;
}

bool DepthTiles::hides(const TriangleSetup& t) const {
  if (!valid_) return false;
  // The pixels the polygon can reach: its vertices' bounding box, inside the scissor columns,
  // the rows it visits and the map.
  std::int64_t minX = t.edge[0].xi, maxX = minX;
  for (int i = 1; i < t.edgeCount; ++i) {
    minX = std::min(minX, t.edge[i].xi);
    maxX = std::max(maxX, t.edge[i].xi);
  }
  const int c0 = static_cast<int>(std::max<std::int64_t>(ceilPixel(minX), t.left));
  const int c1 = static_cast<int>(std::min<std::int64_t>(floorPixel(maxX), std::min(t.right, width_) - 1));
  const int r0 = std::max(t.rowFirst, 0), r1 = std::min(t.rowLast, height_ - 1);
  if (c0 > c1 || r0 > r1 || c0 < 0) return false;

  // The smallest depth the pixel stage can compute inside the polygon. Exactly, the plane
  // takes its least value at a vertex; the margin covers the float rounding of evaluating it
  // at pixel centres many times over.
  const double dx = t.z.ddx, dy = t.z.ddy, v0 = t.z.v0;
  double least = HUGE_VAL;
  for (int i = 0; i < t.edgeCount; ++i) {
    const double px = static_cast<double>(t.edge[i].xi) / TriangleSetup::kOne - t.x0;
    const double py = static_cast<double>(t.edge[i].yi) / TriangleSetup::kOne - t.y0;
    least = std::min(least, v0 + dx * px + dy * py);
  }
  const double reachX = std::max(std::fabs(c0 - t.x0), std::fabs(c1 - t.x0)) + 1.0;
  const double reachY = std::max(std::fabs(r0 - t.y0), std::fabs(r1 - t.y0)) + 1.0;
  const double extent = std::fabs(v0) + std::fabs(dx) * reachX + std::fabs(dy) * reachY;
  least -= extent * 0x1p-20;
  if (!(least > 0.0)) return false;  // also NaN and infinite planes
  // Stored values are round(z * 0xFFFF) with z clamped to 1; rounding down is on the safe side.
  const double quantised = std::floor(std::min(least, 1.0) * 65535.0);

  for (int ty = r0 >> kTileShift; ty <= r1 >> kTileShift; ++ty) {
    const std::uint16_t* row = &tiles_[static_cast<std::size_t>(ty) * columns_];
    for (int tx = c0 >> kTileShift; tx <= c1 >> kTileShift; ++tx)
      if (row[tx] >= quantised) return false;
  }
  return true;
}

}  // namespace platform
