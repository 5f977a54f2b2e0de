// libpng's simplified interface does the decoding and encoding; it reports every
// error through the png_image record, so no longjmp crosses our code.
#include "platform/gfx/sim/png.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace orv::gfx {
namespace {

constexpr std::size_t kMaxFileBytes = 256u * 1024 * 1024;

// libpng's BGRA byte order is 0xAARRGGBB in a little-endian 32-bit word.
inline std::uint32_t FromBgra(const std::uint8_t* p) {
  return (std::uint32_t(p[3]) << 24) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) |
         p[0];
}

}  // namespace

Status DecodePng(const void* data, std::size_t size, Surface* out) {
  if (!data || size == 0 || !out) return size == 0 && out ? UnknownImageFormat : InvalidParameter;
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data, size)) {
    png_image_free(&image);
    return UnknownImageFormat;
  }
  if (image.width == 0 || image.height == 0 || image.width > kMaxPictureSide ||
      image.height > kMaxPictureSide ||
      static_cast<long long>(image.width) * image.height > kMaxPicturePixels) {
    png_image_free(&image);
    return ValueOverflow;
  }
  image.format = PNG_FORMAT_BGRA;
  std::vector<std::uint8_t> bytes(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) {
    png_image_free(&image);
    return UnknownImageFormat;
  }
  Surface picture(static_cast<int>(image.width), static_cast<int>(image.height));
  for (std::size_t i = 0; i < picture.pixels.size(); ++i)
    picture.pixels[i] = Premultiply(FromBgra(&bytes[i * 4]));
  *out = std::move(picture);
  return Ok;
}

Status LoadPngFile(const std::string& path, Surface* out) {
  if (!out) return InvalidParameter;
  std::ifstream in(path, std::ios::binary);
  if (!in) return FileNotFound;
  in.seekg(0, std::ios::end);
  std::streamoff length = in.tellg();
  if (length < 0) return AccessDenied;  // a folder, or not a regular file
  if (static_cast<unsigned long long>(length) > kMaxFileBytes) return ValueOverflow;
  in.seekg(0, std::ios::beg);
  std::vector<char> bytes(static_cast<std::size_t>(length));
  if (length > 0 && !in.read(bytes.data(), length)) return AccessDenied;
  return DecodePng(bytes.data(), bytes.size(), out);
}

Status EncodePng(const Surface& picture, std::vector<std::uint8_t>* out, PngSpeed speed) {
  if (!out || picture.Empty()) return InvalidParameter;
  std::vector<std::uint8_t> bgra(picture.pixels.size() * 4);
  for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
    std::uint32_t s = Unpremultiply(picture.pixels[i]);
    bgra[i * 4 + 0] = s & 0xFF;
    bgra[i * 4 + 1] = (s >> 8) & 0xFF;
    bgra[i * 4 + 2] = (s >> 16) & 0xFF;
    bgra[i * 4 + 3] = s >> 24;
  }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(picture.width);
  image.height = static_cast<png_uint_32>(picture.height);
  image.format = PNG_FORMAT_BGRA;
  if (speed == PngSpeed::Fast) image.flags |= PNG_IMAGE_FLAG_FAST;
  // Encoded once, into room for the largest PNG of this size: compressing is
  // what costs, so it is not done a second time just to learn the size.
  png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(image);
  out->resize(size);
  if (!png_image_write_to_memory(&image, out->data(), &size, 0, bgra.data(), 0, nullptr)) {
    png_image_free(&image);
    out->clear();
    return GenericError;
  }
  out->resize(size);
  out->shrink_to_fit();
  return Ok;
}

Status SavePngFile(const std::string& path, const Surface& picture) {
  std::vector<std::uint8_t> bytes;
  Status s = EncodePng(picture, &bytes);
  if (s != Ok) return s;
  std::string temp = path + ".part";
  {
    std::ofstream file(temp, std::ios::binary | std::ios::trunc);
    if (!file) return AccessDenied;
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file.flush()) {
      file.close();
      std::remove(temp.c_str());
      return Win32Error;
    }
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    return AccessDenied;
  }
  return Ok;
}

}  // namespace orv::gfx
