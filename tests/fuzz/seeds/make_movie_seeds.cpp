// Writes the movie seeds of the fuzz targets that reach the movie player
// (media_open, movie_graph): small movies of every container the player
// opens, with the picture and sound codecs such movies carry
// (encodedmovie::kListedKinds), made by FFmpeg's own muxers and encoders
// when the fuzz build runs:
//   make_movie_seeds OUTPUT_FOLDER
// makes OUTPUT_FOLDER/<target>/<seed>. Widths and heights are not
// multiples of 16, so conversions meet rows that end mid-vector.
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "support/encoded_movie.h"

namespace {

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
  int i = 0;
  for (const encodedmovie::Kind& kind : encodedmovie::kListedKinds) {
    const int width = 36 + 4 * (i++ % 3);  // 36, 40 or 44 pixels: rows that end mid-vector
    const std::string name = std::string(kind.video) + "_" + kind.audio + "_" + std::to_string(width) + "x20." +
                             kind.extension;
    const std::string first = out + "/media_open/" + name;
    if (!encodedmovie::WriteMovie(first, kind, width, 20)) {
      std::fprintf(stderr, "make_movie_seeds: FFmpeg could not write %s\n", name.c_str());
      ok = false;
      continue;
    }
    ok = Copy(first, out + "/movie_graph/" + name) && ok;
  }
  return ok ? 0 : 1;
}
