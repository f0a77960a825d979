// The PNG reader over libpng 1.6. Library errors land at the jump point set
// in RunPngDecode; everything the reader owns lives in a PngJob outside that
// frame, so nothing it reads after the jump was changed behind its back.
#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include "framework/core/memory.h"
#include "framework/graphics/images/image_loader.h"
#include "framework/graphics/images/image_stream_io.h"

namespace qor {

namespace {

constexpr png_alloc_size_t kPngChunkMemoryLimit = png_alloc_size_t{8} << 20;
// No single allocation of libpng's own may pass this (its row buffers for
// the widest picture it takes are far below); a file that asks for more
// gets the library's out-of-memory error.
constexpr png_alloc_size_t kPngLibraryBlockLimit = png_alloc_size_t{64} << 20;

png_voidp BoundedPngMalloc(png_structp, png_alloc_size_t size) {
  return size > kPngLibraryBlockLimit ? nullptr : std::malloc(size);
}
void PngFree(png_structp, png_voidp block) { std::free(block); }

// The input binding libpng receives as its I/O pointer.
struct PngInput {
  StreamSource* source;
  int64_t bytesLeft;  // from the binding position to the end
};

struct PngJob {
  png_structp png;
  png_infop info;
  PngInput input;
  png_bytep* rows;  // AllocMemory
  uint8_t* block;   // the image block, AllocMemory
};

// Reads `length` bytes or raises the library error: a stream that ends
// early or a read that comes back short both stop the decode.
void ReadPngStreamData(png_structp png, png_bytep buffer, size_t length) {
  auto* input = static_cast<PngInput*>(png_get_io_ptr(png));
  if (static_cast<int64_t>(length) > input->bytesLeft || !ReadStreamBytes(input->source, buffer, length)) {
    png_error(png, "Read Error");
  }
  input->bytesLeft -= static_cast<int64_t>(length);
}

int SetPngStreamSource(png_structp png, PngInput* input, StreamSource* source) {
  input->source = source;
  input->bytesLeft = BytesLeftInStream(source);
  png_set_read_fn(png, input, ReadPngStreamData);
  return 0;
}

void SetPngFormat(PngJob* job, int colorType, bool expanded, int channels, size_t rowBytes, size_t width,
                  GraphImage* image) {
  if (colorType == PNG_COLOR_TYPE_PALETTE && !expanded) {
    MakeFormatPal8(&image->format);
    png_colorp palette = nullptr;
    int count = 0;
    if (png_get_PLTE(job->png, job->info, &palette, &count) == PNG_INFO_PLTE && palette != nullptr) {
      if (count > 256) count = 256;
      for (int i = 0; i < count; ++i) {
        image->format.palette[i] = PaletteEntry{palette[i].blue, palette[i].green, palette[i].red, 0};
      }
    }
  } else if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
    // One grey byte per pixel takes the grey palette; two (grey with its
    // alpha, or with the alpha a transparency chunk expands to) are a
    // 16-bit grey whose high byte is that alpha.
    if (rowBytes / 2 < width) MakeFormatPal8Gray(&image->format);
    else MakeFormatFromMasks(&image->format, 16, 0xFF, 0xFF, 0xFF, 0xFF00);
  } else if (channels == 4) {
    MakeFormatA8R8G8B8(&image->format);
  } else {
    MakeFormatRGB24(&image->format);
  }
}

int RunPngDecode(PngJob* job, StreamSource* source, GraphImage* image) {
  if (setjmp(png_jmpbuf(job->png))) return -1;

  SetPngStreamSource(job->png, &job->input, source);
  // An ancillary chunk (text, profile) may not make libpng allocate more
  // than this, whatever length it claims.
  png_set_chunk_malloc_max(job->png, kPngChunkMemoryLimit);
  png_set_sig_bytes(job->png, 0);
  png_read_info(job->png, job->info);
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  int bitDepth = 0;
  int colorType = 0;
  int interlace = 0;
  png_get_IHDR(job->png, job->info, &width, &height, &bitDepth, &colorType, &interlace, nullptr, nullptr);

  png_set_strip_16(job->png);
  png_set_packing(job->png);
  png_set_packswap(job->png);
  const bool transparency = png_get_valid(job->png, job->info, PNG_INFO_tRNS) != 0;
  const bool expanded = (colorType == PNG_COLOR_TYPE_GRAY && bitDepth <= 8) || transparency;
  if (expanded) png_set_expand(job->png);
  png_set_bgr(job->png);
  png_set_interlace_handling(job->png);
  png_read_update_info(job->png, job->info);
  const size_t rowBytes = png_get_rowbytes(job->png, job->info);
  const int channels = png_get_channels(job->png, job->info);

  if (!ImageSizeAcceptable(width, height, static_cast<int64_t>(rowBytes))) return -1;
  job->rows = static_cast<png_bytep*>(AllocMemory(sizeof(png_bytep) * height, nullptr, 0));
  job->block = static_cast<uint8_t*>(AllocMemory(rowBytes * height, nullptr, 0));
  if (job->rows == nullptr || job->block == nullptr) return -1;
  for (png_uint_32 y = 0; y < height; ++y) job->rows[y] = job->block + rowBytes * y;
  png_read_image(job->png, job->rows);
  png_read_end(job->png, nullptr);

  SetPngFormat(job, colorType, expanded, channels, rowBytes, width, image);
  image->width = static_cast<int32_t>(width);
  image->height = static_cast<int32_t>(height);
  image->pitch = static_cast<int32_t>(rowBytes);
  return 0;
}

}  // namespace

int LoadPngImage(StreamSource* source, GraphImage* image) {
  // Streams that are no PNG are refused before the library sees them, so
  // it does not report every picture of another kind.
  png_byte signature[8];
  if (!ReadStreamBytes(source, signature, sizeof signature) || png_sig_cmp(signature, 0, 8) != 0 ||
      source->functions.seek(source->handle, 0, 0) != 0) {
    return -1;
  }
  PngJob job{};
  job.png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr, nullptr, BoundedPngMalloc,
                                     PngFree);
  if (job.png == nullptr) return -1;
  job.info = png_create_info_struct(job.png);
  if (job.info == nullptr) {
    png_destroy_read_struct(&job.png, nullptr, nullptr);
    return -1;
  }
#ifdef ORB_FUZZ_BUILD
  // The fuzz build only: checksum errors are let through, so that mutated
  // inputs reach the decoding behind the chunk checksums.
  png_set_crc_action(job.png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#ifdef PNG_IGNORE_ADLER32
  png_set_option(job.png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
#endif
#endif
  const int result = RunPngDecode(&job, source, image);
  png_destroy_read_struct(&job.png, &job.info, nullptr);
  if (job.rows != nullptr) FreeMemory(job.rows);
  if (result == 0) {
    image->pixels = job.block;
  } else if (job.block != nullptr) {
    FreeMemory(job.block);
  }
  return result;
}

}  // namespace qor
