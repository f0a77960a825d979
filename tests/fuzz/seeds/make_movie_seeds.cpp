// Writes the movie seeds of the fuzz targets that reach the movie player
// (media_open, movie_graph): small movies of every container the player
// opens, with the picture and sound codecs such movies carry, made by
// FFmpeg's own muxers and encoders when the fuzz build runs:
//   make_movie_seeds OUTPUT_FOLDER
// makes OUTPUT_FOLDER/<target>/<seed>. Widths and heights are not
// multiples of 16, so conversions meet rows that end mid-vector.
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "support/encoded_movie.h"

namespace {

struct Seed {
  encodedmovie::Kind kind;
  int width;
  int height;
};

// Every container, each with the codecs it usually carries; a codec this
// FFmpeg has no encoder for (WMV3, VC-1, VP6, MS-MPEG4 v1) has no seed.
const Seed kSeeds[] = {
    {{"avi", "avi", "ffv1", "pcm_s16le"}, 30, 24},
    {{"avi", "avi", "mpeg4", "libmp3lame"}, 34, 18},
    {{"avi", "avi", "msmpeg4", "adpcm_ms"}, 42, 26},
    {{"avi", "avi", "msmpeg4v2", "mp2"}, 22, 14},
    {{"avi", "avi", "cinepak", "pcm_u8"}, 36, 20},
    {{"avi", "avi", "msvideo1", "adpcm_ima_wav"}, 20, 12},
    {{"avi", "avi", "mjpeg", "pcm_alaw"}, 26, 10},
    {{"avi", "avi", "rawvideo", "pcm_mulaw"}, 13, 7},
    {{"avi", "avi", "libx264", "ac3"}, 38, 22},
    {{"avi", "avi", "h263", nullptr}, 128, 96},
    {{"avi", "avi", "h263p", nullptr}, 44, 20},
    {{"matroska", "mkv", "ffv1", "flac"}, 27, 11},
    {{"matroska", "mkv", "libx264", "aac"}, 46, 30},
    {{"matroska", "mkv", "mpeg4", "libvorbis"}, 18, 34},
    {{"matroska", "mkv", "libtheora", "libopus"}, 50, 18},
    {{"webm", "webm", "libvpx", "libvorbis"}, 30, 22},
    {{"webm", "webm", "libvpx-vp9", "libopus"}, 34, 26},
    {{"mp4", "mp4", "libx264", "aac"}, 30, 24},
    {{"mp4", "mp4", "mpeg4", "libmp3lame"}, 26, 18},
    {{"mov", "mov", "mjpeg", "pcm_s16be"}, 22, 30},
    {{"mov", "mov", "rawvideo", "pcm_s24le"}, 11, 9},
    {{"mpeg", "mpg", "mpeg1video", "mp2"}, 30, 24},
    {{"mpeg", "mpg", "mpeg2video", "ac3"}, 42, 18},
    {{"mpegts", "ts", "mpeg2video", "mp2"}, 34, 22},
    {{"mpegts", "ts", "libx264", "aac"}, 26, 14},
    {{"asf", "wmv", "wmv1", "wmav1"}, 30, 24},
    {{"asf", "wmv", "wmv2", "wmav2"}, 38, 18},
    {{"asf", "asf", "msmpeg4", "libmp3lame"}, 22, 26},
    {{"flv", "flv", "flv", "libmp3lame"}, 30, 24},
    {{"flv", "flv", "flv", "adpcm_swf"}, 18, 10},
    {{"flv", "flv", "libx264", "aac"}, 34, 20},
    {{"ogg", "ogv", "libtheora", "libvorbis"}, 30, 22},
    {{"ogg", "ogv", "libtheora", "flac"}, 18, 26},
};

bool Copy(const std::string& from, const std::string& to) {
  std::FILE* in = std::fopen(from.c_str(), "rb");
  std::FILE* out = in != nullptr ? std::fopen(to.c_str(), "wb") : nullptr;
  bool ok = out != nullptr;
  char buffer[65536];
  size_t got;
  while (ok && in != nullptr && (got = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
    ok = std::fwrite(buffer, 1, got, out) == got;
  }
  if (in != nullptr) std::fclose(in);
  if (out != nullptr) ok = std::fclose(out) == 0 && ok;
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_movie_seeds OUTPUT_FOLDER\n");
    return 2;
  }
  const std::string out = argv[1];
  mkdir(out.c_str(), 0755);
  bool ok = true;
  for (const char* target : {"media_open", "movie_graph"}) mkdir((out + "/" + target).c_str(), 0755);
  for (const Seed& s : kSeeds) {
    const std::string name = std::string(s.kind.video) + "_" + (s.kind.audio != nullptr ? s.kind.audio : "silent") +
                             "_" + std::to_string(s.width) + "x" + std::to_string(s.height) + "." + s.kind.extension;
    const std::string first = out + "/media_open/" + name;
    if (!encodedmovie::WriteMovie(first, s.kind, s.width, s.height)) {
      std::fprintf(stderr, "make_movie_seeds: FFmpeg could not write %s\n", name.c_str());
      ok = false;
      continue;
    }
    ok = Copy(first, out + "/movie_graph/" + name) && ok;
  }
  return ok ? 0 : 1;
}
