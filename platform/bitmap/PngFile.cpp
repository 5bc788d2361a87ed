#include "platform/bitmap/PngFile.h"

#include <png.h>

#include <cstring>

namespace platform {
namespace {

std::uint8_t widen(std::uint32_t value, int bits) {  // repeat the top bits into 8
  return std::uint8_t((value << (8 - bits)) | (value >> (2 * bits - 8)));
}

}  // namespace

bool writePngRgba(const char* path, const std::uint8_t* rgba, int width, int height, int stride) {
  if (path == nullptr || rgba == nullptr || width <= 0 || height <= 0 || stride < width * 4) return false;
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(width);
  image.height = png_uint_32(height);
  image.format = PNG_FORMAT_RGBA;
  const int ok = png_image_write_to_file(&image, path, 0, rgba, stride, nullptr);
  png_image_free(&image);
  return ok != 0;
}

bool writePngTarget(const char* path, const PixelTarget& target) {
  if (path == nullptr || target.bits == nullptr || target.width <= 0 || target.height <= 0) return false;
  if (target.bitsPerPixel != 16 && target.bitsPerPixel != 32) return false;
  if (target.pitch < target.width * (target.bitsPerPixel / 8)) return false;
  std::vector<std::uint8_t> rgba(std::size_t(target.width) * std::size_t(target.height) * 4);
  std::uint8_t* out = rgba.data();
  for (int y = 0; y < target.height; ++y) {
    const std::uint8_t* row = static_cast<const std::uint8_t*>(target.bits) + std::size_t(y) * std::size_t(target.pitch);
    for (int x = 0; x < target.width; ++x, out += 4) {
      if (target.bitsPerPixel == 16) {
        std::uint16_t p;
        std::memcpy(&p, row + 2 * x, 2);
        out[0] = widen(p >> 11, 5);
        out[1] = widen((p >> 5) & 0x3F, 6);
        out[2] = widen(p & 0x1F, 5);
      } else {
        std::uint32_t p;
        std::memcpy(&p, row + 4 * x, 4);
        out[0] = std::uint8_t(p >> 16);
        out[1] = std::uint8_t(p >> 8);
        out[2] = std::uint8_t(p);
      }
      out[3] = 255;
    }
  }
  return writePngRgba(path, rgba.data(), target.width, target.height, target.width * 4);
}

bool readPngRgba(const char* path, RgbaImage& result) {
  result = RgbaImage{};
  if (path == nullptr) return false;
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&image, path) == 0) return false;
  image.format = PNG_FORMAT_RGBA;
  std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) == 0) {
    png_image_free(&image);
    return false;
  }
  result.width = int(image.width);
  result.height = int(image.height);
  result.pixels = std::move(pixels);
  return true;
}

}  // namespace platform
