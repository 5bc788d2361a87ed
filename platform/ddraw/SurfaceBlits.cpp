// Blt and BltFast: colour and depth fills, copies with or without stretching and colour keys.
//
// Copies need the same pixel size on both sides (no format conversion). The inner loops work
// row by row on raw memory; a copy within one surface goes through a scratch row so that
// overlapping areas come out right.
#include <cstring>
#include <functional>
#include <vector>

#include "platform/ddraw/DirectDrawObjects.h"

namespace platform::detail {
namespace {

constexpr DWORD kRopSourceCopy = 0x00CC0020;
constexpr DWORD kRopBlackness = 0x00000042;
constexpr DWORD kRopWhiteness = 0x00FF0062;

DWORD readPixel(const std::uint8_t* at, int bytes) {
  switch (bytes) {
    case 1: return at[0];
    case 2: { std::uint16_t v; std::memcpy(&v, at, 2); return v; }
    default: { std::uint32_t v; std::memcpy(&v, at, 4); return v; }
  }
}

void writePixel(std::uint8_t* at, int bytes, DWORD value) {
  switch (bytes) {
    case 1: at[0] = std::uint8_t(value); break;
    case 2: { std::uint16_t v = std::uint16_t(value); std::memcpy(at, &v, 2); break; }
    default: { std::uint32_t v = value; std::memcpy(at, &v, 4); break; }
  }
}

struct CopyKeys {
  bool source = false;
  DWORD sourceValue = 0;
  bool destination = false;
  DWORD destinationValue = 0;
};

// Copies one row of `count` pixels; keyed copies test each pixel.
void copyRow(std::uint8_t* to, const std::uint8_t* from, int count, int bytes, const CopyKeys& keys) {
  if (!keys.source && !keys.destination) {
    std::memmove(to, from, std::size_t(count) * std::size_t(bytes));
    return;
  }
  // Walk backwards when the target lies after the source, so an overlapping row within one
  // surface reads each pixel before it is overwritten.
  bool backwards = std::less<const std::uint8_t*>()(from, to);
  for (int n = 0; n < count; ++n) {
    std::size_t at = std::size_t(backwards ? count - 1 - n : n) * std::size_t(bytes);
    DWORD value = readPixel(from + at, bytes);
    if (keys.source && value == keys.sourceValue) continue;
    if (keys.destination && readPixel(to + at, bytes) != keys.destinationValue) continue;
    writePixel(to + at, bytes, value);
  }
}

}  // namespace

// Gives the blit functions below access to both surfaces' internals.
struct BlitAccess {
  static CopyKeys keys(const SurfaceObject& destination, const SurfaceObject& source,
                       bool useSource, bool useDestination) {
    CopyKeys keys;
    keys.source = useSource && source.hasSourceKey_;
    keys.sourceValue = source.sourceKey_.dwColorSpaceLowValue;
    keys.destination = useDestination && destination.hasDestinationKey_;
    keys.destinationValue = destination.destinationKey_.dwColorSpaceLowValue;
    return keys;
  }
};

void SurfaceObject::fill(const RECT& area, DWORD value) {
  int count = area.right - area.left;
  for (int y = area.top; y < area.bottom; ++y) {
    std::uint8_t* at = row(y) + std::size_t(area.left) * std::size_t(bytesPerPixel_);
    if (bytesPerPixel_ == 1) {
      std::memset(at, int(value & 0xFF), std::size_t(count));
    } else {
      for (int x = 0; x < count; ++x, at += bytesPerPixel_) writePixel(at, bytesPerPixel_, value);
    }
  }
}

HRESULT SurfaceObject::Blt(LPRECT destinationRect, LPDIRECTDRAWSURFACE4 sourceSurface,
                           LPRECT sourceRect, DWORD flags, LPDDBLTFX effects) {
  beforeWrite();
  if (busy()) return DDERR_SURFACEBUSY;
  RECT to;
  if (!resolveRect(destinationRect, to)) return DDERR_INVALIDRECT;
  bool needsEffects = flags & (DDBLT_COLORFILL | DDBLT_DEPTHFILL | DDBLT_ROP | DDBLT_DDFX);
  if (needsEffects && (!effects || !validSize(effects->dwSize, DDBLTFX_SIZE32, sizeof(DDBLTFX))))
    return DDERR_INVALIDPARAMS;
  if (flags & DDBLT_DDFX) return DDERR_UNSUPPORTED;  // mirroring and rotation are not needed

  if (flags & DDBLT_COLORFILL) {
    if (flags & DDBLT_DEPTHFILL) return DDERR_INVALIDPARAMS;
    fill(to, effects->dwFillColor);  // a raw pixel value in this surface's format
    presentIfPrimary();
    return DD_OK;
  }
  if (flags & DDBLT_DEPTHFILL) {
    if (!(caps_.dwCaps & DDSCAPS_ZBUFFER)) return DDERR_INVALIDPARAMS;
    fill(to, effects->dwFillDepth);
    return DD_OK;
  }
  if (flags & DDBLT_ROP) {
    if (effects->dwROP == kRopBlackness || effects->dwROP == kRopWhiteness) {
      fill(to, effects->dwROP == kRopBlackness ? 0 : 0xFFFFFFFF);
      presentIfPrimary();
      return DD_OK;
    }
    if (effects->dwROP != kRopSourceCopy) return DDERR_NORASTEROPHW;
  }

  auto* source = static_cast<SurfaceObject*>(sourceSurface);
  if (!source) return DDERR_INVALIDPARAMS;
  if (source != this && source->busy()) return DDERR_SURFACEBUSY;
  RECT from;
  if (!source->resolveRect(sourceRect, from)) return DDERR_INVALIDRECT;
  if (source->bytesPerPixel_ != bytesPerPixel_) return DDERR_INVALIDPIXELFORMAT;
  CopyKeys keys = BlitAccess::keys(*this, *source, flags & DDBLT_KEYSRC, flags & DDBLT_KEYDEST);

  int bytes = bytesPerPixel_;
  int toWidth = to.right - to.left, toHeight = to.bottom - to.top;
  int fromWidth = from.right - from.left, fromHeight = from.bottom - from.top;
  // A copy within one surface reads the whole source area first, so overlaps are safe.
  std::vector<std::uint8_t> staged;
  auto sourceRow = [&](int y) -> const std::uint8_t* {
    if (!staged.empty()) return staged.data() + std::size_t(y - from.top) * std::size_t(fromWidth * bytes);
    return source->row(y) + std::size_t(from.left) * std::size_t(bytes);
  };
  if (source == this) {
    staged.resize(std::size_t(fromWidth) * std::size_t(fromHeight) * std::size_t(bytes));
    for (int y = from.top; y < from.bottom; ++y)
      std::memcpy(staged.data() + std::size_t(y - from.top) * std::size_t(fromWidth * bytes),
                  row(y) + std::size_t(from.left) * std::size_t(bytes), std::size_t(fromWidth * bytes));
  }

  if (toWidth == fromWidth && toHeight == fromHeight) {
    for (int y = 0; y < toHeight; ++y)
      copyRow(row(to.top + y) + std::size_t(to.left) * std::size_t(bytes), sourceRow(from.top + y),
              toWidth, bytes, keys);
  } else {
    // Nearest neighbour: destination pixel i samples source pixel floor((i + 0.5) * from / to).
    for (int y = 0; y < toHeight; ++y) {
      int sy = from.top + int((std::int64_t(2 * y + 1) * fromHeight) / (2 * std::int64_t(toHeight)));
      const std::uint8_t* in = sourceRow(sy);
      std::uint8_t* out = row(to.top + y) + std::size_t(to.left) * std::size_t(bytes);
      for (int x = 0; x < toWidth; ++x, out += bytes) {
        int sx = int((std::int64_t(2 * x + 1) * fromWidth) / (2 * std::int64_t(toWidth)));
        DWORD value = readPixel(in + std::size_t(sx) * std::size_t(bytes), bytes);
        if (keys.source && value == keys.sourceValue) continue;
        if (keys.destination && readPixel(out, bytes) != keys.destinationValue) continue;
        writePixel(out, bytes, value);
      }
    }
  }
  presentIfPrimary();
  return DD_OK;
}

HRESULT SurfaceObject::BltFast(DWORD x, DWORD y, LPDIRECTDRAWSURFACE4 sourceSurface,
                               LPRECT sourceRect, DWORD flags) {
  beforeWrite();
  auto* source = static_cast<SurfaceObject*>(sourceSurface);
  if (!source) return DDERR_INVALIDPARAMS;
  if (busy() || (source != this && source->busy())) return DDERR_SURFACEBUSY;
  RECT from;
  if (!source->resolveRect(sourceRect, from)) return DDERR_INVALIDRECT;
  std::int64_t right = std::int64_t(x) + (from.right - from.left);
  std::int64_t bottom = std::int64_t(y) + (from.bottom - from.top);
  if (right > width_ || bottom > height_) return DDERR_INVALIDRECT;  // no clipping
  if (source->bytesPerPixel_ != bytesPerPixel_) return DDERR_INVALIDPIXELFORMAT;
  CopyKeys keys = BlitAccess::keys(*this, *source, flags & DDBLTFAST_SRCCOLORKEY,
                                   flags & DDBLTFAST_DESTCOLORKEY);
  int bytes = bytesPerPixel_;
  int width = from.right - from.left;
  int height = from.bottom - from.top;
  // Within one surface, walk rows bottom-up when the copy moves down so rows are read
  // before they are overwritten; copyRow itself moves overlapping rows safely.
  bool downwards = source == this && int(y) > from.top;
  for (int i = 0; i < height; ++i) {
    int r = downwards ? height - 1 - i : i;
    copyRow(row(int(y) + r) + std::size_t(x) * std::size_t(bytes),
            source->row(from.top + r) + std::size_t(from.left) * std::size_t(bytes), width, bytes, keys);
  }
  presentIfPrimary();
  return DD_OK;
}

}  // namespace platform::detail
