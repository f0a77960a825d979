// The JPEG reader over libjpeg-turbo's version-62 interface. The error exit
// long-jumps back into RunJpegDecode; what the reader owns lives in a
// JpegJob outside that frame.
#include <csetjmp>
#include <cstdio>
#include <cstring>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>
#include <jerror.h>

#include "framework/core/memory.h"
#include "framework/graphics/images/image_loader.h"
#include "framework/graphics/images/image_stream_io.h"

namespace qor {

namespace {

constexpr size_t kJpegInputBufferSize = 4096;

struct JpegErrorManager {
  jpeg_error_mgr pub;
  jmp_buf jump;
};

struct JpegStreamSource {
  jpeg_source_mgr pub;
  StreamSource* source;
  int64_t bytesLeft;  // from the binding position to the end
  JOCTET* buffer;
  int startOfFile;
};

struct JpegJob {
  jpeg_decompress_struct info;
  JpegErrorManager error;
  uint8_t* block;  // the image block, AllocMemory
};

void HandleJpegError(j_common_ptr info) {
  (*info->err->output_message)(info);
  longjmp(reinterpret_cast<JpegErrorManager*>(info->err)->jump, 1);
}

void InitJpegStreamSource(j_decompress_ptr info) {
  reinterpret_cast<JpegStreamSource*>(info->src)->startOfFile = 1;
}

// Refills the buffer with what the stream really gives; at the end an
// empty stream is an error and a cut one gets an end-of-image marker.
boolean FillJpegInputBuffer(j_decompress_ptr info) {
  auto* src = reinterpret_cast<JpegStreamSource*>(info->src);
  size_t want = kJpegInputBufferSize;
  if (src->bytesLeft < static_cast<int64_t>(want)) want = src->bytesLeft > 0 ? static_cast<size_t>(src->bytesLeft) : 0;
  size_t got = 0;
  if (want > 0) got = src->source->functions.read(src->buffer, 1, want, src->source->handle);
  if (got == 0) {
    if (src->startOfFile) ERREXIT(info, JERR_INPUT_EMPTY);
    WARNMS(info, JWRN_JPEG_EOF);
    src->buffer[0] = 0xFF;
    src->buffer[1] = JPEG_EOI;
    got = 2;
  } else {
    src->bytesLeft -= static_cast<int64_t>(got);
  }
  src->pub.next_input_byte = src->buffer;
  src->pub.bytes_in_buffer = got;
  src->startOfFile = 0;
  return TRUE;
}

void SkipJpegInputData(j_decompress_ptr info, long count) {
  if (count <= 0) return;
  jpeg_source_mgr* src = info->src;
  while (count > static_cast<long>(src->bytes_in_buffer)) {
    count -= static_cast<long>(src->bytes_in_buffer);
    FillJpegInputBuffer(info);
  }
  src->next_input_byte += count;
  src->bytes_in_buffer -= static_cast<size_t>(count);
}

void EndJpegStreamSource(j_decompress_ptr) {}

void SetJpegStreamSource(j_decompress_ptr info, StreamSource* source) {
  if (info->src == nullptr) {
    auto* src = static_cast<JpegStreamSource*>(
        (*info->mem->alloc_small)(reinterpret_cast<j_common_ptr>(info), JPOOL_PERMANENT, sizeof(JpegStreamSource)));
    src->buffer = static_cast<JOCTET*>(
        (*info->mem->alloc_small)(reinterpret_cast<j_common_ptr>(info), JPOOL_PERMANENT, kJpegInputBufferSize));
    info->src = &src->pub;
  }
  auto* src = reinterpret_cast<JpegStreamSource*>(info->src);
  src->pub.init_source = InitJpegStreamSource;
  src->pub.fill_input_buffer = FillJpegInputBuffer;
  src->pub.skip_input_data = SkipJpegInputData;
  src->pub.resync_to_restart = jpeg_resync_to_restart;
  src->pub.term_source = EndJpegStreamSource;
  src->source = source;
  src->bytesLeft = BytesLeftInStream(source);
  src->pub.bytes_in_buffer = 0;
  src->pub.next_input_byte = nullptr;
}

int RunJpegDecode(JpegJob* job, StreamSource* source, GraphImage* image) {
  if (setjmp(job->error.jump)) return -1;
  jpeg_decompress_struct* info = &job->info;
  jpeg_create_decompress(info);
  // The library's own working memory (whole-picture coefficient buffers of
  // progressive files) is bounded too: past this it raises an error.
  info->mem->max_memory_to_use = 2 * kMaxImageBytes;
  SetJpegStreamSource(info, source);
  jpeg_read_header(info, TRUE);
  // The library writes blue, green, red itself: the same bytes as reversing
  // each decoded red, green, blue pixel.
  if (info->out_color_space == JCS_RGB) info->out_color_space = JCS_EXT_BGR;
  jpeg_calc_output_dimensions(info);
  const int components = info->output_components;
  // Only grey and three-component pictures are taken (CMYK is refused).
  if (components != 1 && components != 3) return -1;
  const int64_t rowBytes = static_cast<int64_t>(components) * info->output_width;
  if (!ImageSizeAcceptable(info->output_width, info->output_height, rowBytes)) return -1;

  jpeg_start_decompress(info);
  job->block = static_cast<uint8_t*>(AllocMemory(static_cast<size_t>(rowBytes) * info->output_height, nullptr, 0));
  if (job->block == nullptr) return -1;
  while (info->output_scanline < info->output_height) {
    JSAMPROW row = job->block + static_cast<size_t>(rowBytes) * info->output_scanline;
    if (jpeg_read_scanlines(info, &row, 1) != 1) return -1;
  }
  jpeg_finish_decompress(info);

  if (components == 1) {
    MakeFormatPal8Gray(&image->format);
  } else {
    MakeFormatRGB24(&image->format);
  }
  image->width = static_cast<int32_t>(info->output_width);
  image->height = static_cast<int32_t>(info->output_height);
  image->pitch = static_cast<int32_t>(rowBytes);
  return 0;
}

}  // namespace

int LoadJpegImage(StreamSource* source, GraphImage* image) {
  // Streams that do not start like a JPEG are refused before the library
  // sees them, so it does not report every picture of another kind.
  uint8_t start[2];
  if (!ReadStreamBytes(source, start, 2) || start[0] != 0xFF || start[1] != 0xD8 ||
      source->functions.seek(source->handle, 0, 0) != 0) {
    return -1;
  }
  auto* job = static_cast<JpegJob*>(AllocMemoryZeroed(sizeof(JpegJob), nullptr, 0));
  if (job == nullptr) return -1;
  job->info.err = jpeg_std_error(&job->error.pub);
  job->error.pub.error_exit = HandleJpegError;
  const int result = RunJpegDecode(job, source, image);
  jpeg_destroy_decompress(&job->info);
  if (result == 0) {
    image->pixels = job->block;
  } else if (job->block != nullptr) {
    FreeMemory(job->block);
  }
  FreeMemory(job);
  return result;
}

}  // namespace qor
