#include "platform/bitmap/PngFile.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

namespace platform {
namespace {

std::uint8_t widen(std::uint32_t value, int bits) {  // repeat the top bits into 8
  return std::uint8_t((value << (8 - bits)) | (value >> (2 * bits - 8)));
}

bool readPngStream(std::FILE* file, RgbaImage& result) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
    return false;
  }
  png_init_io(png, file);
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
  if (width == 0 || height == 0 || width > 1u << 16 || height > 1u << 16) png_error(png, "unsupported size");
  png_set_expand(png);  // palette and low-depth grey to 8-bit, tRNS to alpha
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != std::size_t(width) * 4) png_error(png, "unexpected layout");
  result.width = int(width);
  result.height = int(height);
  result.pixels.resize(std::size_t(width) * height * 4);
  for (int pass = 0; pass < passes; ++pass)  // interlaced passes are combined into the rows
    for (png_uint_32 y = 0; y < height; ++y) png_read_row(png, result.pixels.data() + std::size_t(y) * width * 4, nullptr);
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
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

// Decodes with libpng's own API so that no gamma or colour-space conversion is applied:
// the samples come back exactly as stored. Only plain data lives across the setjmp.
bool readPngRgba(const char* path, RgbaImage& result) {
  result = RgbaImage{};
  if (path == nullptr) return false;
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  const bool ok = readPngStream(file, result);
  std::fclose(file);
  if (!ok) result = RgbaImage{};
  return ok;
}

}  // namespace platform
