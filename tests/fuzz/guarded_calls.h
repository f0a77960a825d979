// Guard bytes for the calls by which an outside library writes into memory
// the program hands it. The sanitizers do not see writes made inside the
// Debian libraries, so a target that includes this header (in its one
// source file) takes these calls itself: each call writes into a copy of
// the caller's block that is exactly as large as the call's contract says,
// with guard bytes after it, and the run aborts when a guard byte changed;
// the copy then goes back into the caller's block.
//   sws_scale            every destination plane: pitch x the plane's rows,
//                        or, in a frame FFmpeg allocated, to that frame's end
//   jpeg_read_scanlines  each row: output width x output components
//   png_read_image       each row: the row bytes after png_read_update_info
//   ov_read              the buffer: the length asked for
// The library's own function is found behind the program's with dlsym.
#pragma once

#include <dlfcn.h>

#include <cstdio>  // before jpeglib.h, which uses FILE

#include <jpeglib.h>
#include <png.h>
#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

extern "C" {
#include <libavutil/pixdesc.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

namespace fuzz {

constexpr size_t kGuardBytes = 64;

inline uint8_t GuardByte(size_t i) { return static_cast<uint8_t>(0xA5 ^ (i * 29)); }

inline void WriteGuard(uint8_t* after) {
  for (size_t i = 0; i < kGuardBytes; ++i) after[i] = GuardByte(i);
}

// The first guard byte after a block that changed, or kGuardBytes.
inline size_t ChangedGuardByte(const uint8_t* after) {
  for (size_t i = 0; i < kGuardBytes; ++i) {
    if (after[i] != GuardByte(i)) return i;
  }
  return kGuardBytes;
}

// A copy of a caller's block with guard bytes after it.
class GuardedCopy {
 public:
  GuardedCopy(const void* from, size_t size) : size_(size), bytes_(size + kGuardBytes) {
    if (size > 0) std::memcpy(bytes_.data(), from, size);
    WriteGuard(bytes_.data() + size);
  }
  uint8_t* data() { return bytes_.data(); }
  // Aborts when the library wrote past the block; else copies it back.
  void CheckAndCopyTo(void* to, const char* call) {
    const size_t i = ChangedGuardByte(bytes_.data() + size_);
    if (i < kGuardBytes) {
      std::fprintf(stderr, "guard: %s wrote past a block of %zu bytes (at byte %zu)\n", call, size_, size_ + i);
      std::abort();
    }
    if (size_ > 0) std::memcpy(to, bytes_.data(), size_);
  }

 private:
  size_t size_;
  std::vector<uint8_t> bytes_;
};

template <typename F>
F LibraryFunction(const char* name) {
  void* f = dlsym(RTLD_NEXT, name);
  if (f == nullptr) {
    std::fprintf(stderr, "guard: no library function %s\n", name);
    std::abort();
  }
  return reinterpret_cast<F>(f);
}

// The bytes a caller's block of `rows` rows must hold at `pitch`.
inline size_t BlockBytes(int pitch, int rows) {
  return pitch > 0 && rows > 0 ? static_cast<size_t>(pitch) * static_cast<size_t>(rows) : 0;
}

// The buffers of frames FFmpeg allocated (av_frame_get_buffer), which hold
// padding past their rows for the vector code, until freed.
struct FrameBuffer {
  const uint8_t* begin;
  const uint8_t* end;
};
struct FrameBuffers {
  std::mutex lock;
  std::vector<FrameBuffer> live;
};
inline FrameBuffers& LiveFrameBuffers() {
  static FrameBuffers buffers;
  return buffers;
}

// The bytes from `at` to the end of FFmpeg's buffer holding it, or 0.
inline size_t FrameBufferRoom(const uint8_t* at) {
  FrameBuffers& b = LiveFrameBuffers();
  std::lock_guard<std::mutex> hold(b.lock);
  for (const FrameBuffer& f : b.live) {
    if (at >= f.begin && at < f.end) return static_cast<size_t>(f.end - at);
  }
  return 0;
}

}  // namespace fuzz

extern "C" int av_frame_get_buffer(AVFrame* frame, int align) {
  using Get = int (*)(AVFrame*, int);
  static const Get real = fuzz::LibraryFunction<Get>("av_frame_get_buffer");
  const int got = real(frame, align);
  if (got == 0) {
    fuzz::FrameBuffers& b = fuzz::LiveFrameBuffers();
    std::lock_guard<std::mutex> hold(b.lock);
    for (AVBufferRef* buffer : frame->buf) {
      if (buffer != nullptr) b.live.push_back({buffer->data, buffer->data + buffer->size});
    }
  }
  return got;
}

namespace fuzz {

// The frame's buffers are no longer counted as FFmpeg's frames.
inline void ForgetFrameBuffers(const AVFrame* frame) {
  if (frame == nullptr) return;
  FrameBuffers& b = LiveFrameBuffers();
  std::lock_guard<std::mutex> hold(b.lock);
  for (AVBufferRef* buffer : frame->buf) {
    for (size_t i = 0; buffer != nullptr && i < b.live.size(); ++i) {
      if (b.live[i].begin == buffer->data) b.live.erase(b.live.begin() + static_cast<std::ptrdiff_t>(i--));
    }
  }
}

}  // namespace fuzz

extern "C" void av_frame_unref(AVFrame* frame) {
  using Unref = void (*)(AVFrame*);
  static const Unref real = fuzz::LibraryFunction<Unref>("av_frame_unref");
  fuzz::ForgetFrameBuffers(frame);
  real(frame);
}

extern "C" void av_frame_free(AVFrame** frame) {
  using Free = void (*)(AVFrame**);
  static const Free real = fuzz::LibraryFunction<Free>("av_frame_free");
  if (frame != nullptr) fuzz::ForgetFrameBuffers(*frame);
  real(frame);
}

extern "C" int sws_scale(SwsContext* c, const uint8_t* const source[], const int sourcePitch[], int sliceY,
                         int sliceHeight, uint8_t* const destination[], const int destinationPitch[]) {
  using Scale = int (*)(SwsContext*, const uint8_t* const[], const int[], int, int, uint8_t* const[], const int[]);
  static const Scale real = fuzz::LibraryFunction<Scale>("sws_scale");
  int64_t height = 0, format = AV_PIX_FMT_NONE;
  av_opt_get_int(c, "dsth", 0, &height);
  av_opt_get_int(c, "dst_format", 0, &format);
  const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(format));
  const int planes = d != nullptr ? av_pix_fmt_count_planes(static_cast<AVPixelFormat>(format)) : 0;
  std::vector<fuzz::GuardedCopy> copies;
  copies.reserve(4);
  uint8_t* guarded[4] = {};
  for (int p = 0; p < planes && p < 4; ++p) {
    const int rows = p == 1 || p == 2 ? -((-static_cast<int>(height)) >> d->log2_chroma_h) : static_cast<int>(height);
    const size_t room = fuzz::FrameBufferRoom(destination[p]);
    copies.emplace_back(destination[p], room != 0 ? room : fuzz::BlockBytes(destinationPitch[p], rows));
    guarded[p] = copies.back().data();
  }
  const int made = real(c, source, sourcePitch, sliceY, sliceHeight, guarded, destinationPitch);
  for (size_t p = 0; p < copies.size(); ++p) copies[p].CheckAndCopyTo(destination[p], "sws_scale");
  return made;
}

namespace fuzz {

// Rows copied into one area that lives as long as the process: a library
// error leaves these calls by longjmp, past any destructor, and the rows
// written so far are lost with the picture, which the reader then refuses.
struct GuardedRows {
  std::vector<uint8_t> bytes;
  std::vector<uint8_t*> rows;
};

inline GuardedRows& RowArea() {
  static GuardedRows area;
  return area;
}

inline uint8_t** GuardRows(uint8_t* const* rows, size_t count, size_t rowBytes) {
  GuardedRows& a = RowArea();
  const size_t step = rowBytes + kGuardBytes;
  a.bytes.resize(count * step);
  a.rows.resize(count);
  for (size_t r = 0; r < count; ++r) {
    a.rows[r] = a.bytes.data() + r * step;
    if (rowBytes > 0) std::memcpy(a.rows[r], rows[r], rowBytes);
    WriteGuard(a.rows[r] + rowBytes);
  }
  return a.rows.data();
}

inline void CheckRows(uint8_t* const* rows, size_t count, size_t rowBytes, const char* call) {
  GuardedRows& a = RowArea();
  for (size_t r = 0; r < count; ++r) {
    const size_t i = ChangedGuardByte(a.rows[r] + rowBytes);
    if (i < kGuardBytes) {
      std::fprintf(stderr, "guard: %s wrote past row %zu of %zu bytes (at byte %zu)\n", call, r, rowBytes,
                   rowBytes + i);
      std::abort();
    }
    if (rowBytes > 0) std::memcpy(rows[r], a.rows[r], rowBytes);
  }
}

// The information record of the last png_read_update_info: it gives the
// row bytes png_read_image writes (a target reads one picture at a time).
inline png_inforp g_pngInfo = nullptr;

}  // namespace fuzz

extern "C" JDIMENSION jpeg_read_scanlines(j_decompress_ptr info, JSAMPARRAY rows, JDIMENSION lines) {
  using Read = JDIMENSION (*)(j_decompress_ptr, JSAMPARRAY, JDIMENSION);
  static const Read real = fuzz::LibraryFunction<Read>("jpeg_read_scanlines");
  const size_t rowBytes = static_cast<size_t>(info->output_width) * static_cast<size_t>(info->output_components);
  uint8_t** guarded = fuzz::GuardRows(rows, lines, rowBytes);
  const JDIMENSION got = real(info, guarded, lines);
  fuzz::CheckRows(rows, lines, rowBytes, "jpeg_read_scanlines");
  return got;
}

extern "C" void png_read_update_info(png_structrp png, png_inforp info) {
  using Update = void (*)(png_structrp, png_inforp);
  static const Update real = fuzz::LibraryFunction<Update>("png_read_update_info");
  fuzz::g_pngInfo = info;
  real(png, info);
}

extern "C" void png_read_image(png_structrp png, png_bytepp rows) {
  using Read = void (*)(png_structrp, png_bytepp);
  static const Read real = fuzz::LibraryFunction<Read>("png_read_image");
  const size_t rowBytes = png_get_rowbytes(png, fuzz::g_pngInfo);
  const png_uint_32 height = png_get_image_height(png, fuzz::g_pngInfo);
  uint8_t** guarded = fuzz::GuardRows(rows, height, rowBytes);
  real(png, guarded);
  fuzz::CheckRows(rows, height, rowBytes, "png_read_image");
}

extern "C" long ov_read(OggVorbis_File* file, char* buffer, int length, int bigEndian, int word, int sgned,
                        int* bitstream) {
  using Read = long (*)(OggVorbis_File*, char*, int, int, int, int, int*);
  static const Read real = fuzz::LibraryFunction<Read>("ov_read");
  fuzz::GuardedCopy copy(buffer, length > 0 ? static_cast<size_t>(length) : 0);
  const long got = real(file, reinterpret_cast<char*>(copy.data()), length, bigEndian, word, sgned, bitstream);
  copy.CheckAndCopyTo(buffer, "ov_read");
  return got;
}
