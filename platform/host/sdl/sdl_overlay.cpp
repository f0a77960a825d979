// The SDL host's overlays: a streaming YUV texture per overlay, filled from
// the overlay's pixels at each present and drawn over the picture at its
// destination, scaled with the picture. SDL converts YUV with BT.601 at these
// sizes, the rule of the display it stands for.
#include <vector>

#include "platform/host/host_backend.h"
#include "platform/host/sdl/sdl_state.h"

namespace plat::sdl {

namespace {

struct OverlayTexture {
  uintptr_t id = 0;
  SDL_Texture* texture = nullptr;
  int width = 0, height = 0;
  HostOverlayFormat format = HostOverlayFormat::Yuy2;
  bool used = false;
};

std::vector<OverlayTexture> g_textures;

Uint32 SdlFormat(HostOverlayFormat f) {
  return f == HostOverlayFormat::Yuy2 ? SDL_PIXELFORMAT_YUY2 : SDL_PIXELFORMAT_UYVY;
}

// The texture for an overlay, made (again) when its size or format changed.
OverlayTexture* TextureFor(SDL_Renderer* renderer, const HostOverlay& o) {
  for (size_t i = 0; i < g_textures.size(); ++i) {
    OverlayTexture& t = g_textures[i];
    if (t.id != o.id) continue;
    if (t.width == o.width && t.height == o.height && t.format == o.format) return &t;
    SDL_DestroyTexture(t.texture);
    g_textures.erase(g_textures.begin() + static_cast<std::ptrdiff_t>(i));
    break;
  }
  SDL_Texture* texture = SDL_CreateTexture(renderer, SdlFormat(o.format), SDL_TEXTUREACCESS_STREAMING, o.width, o.height);
  if (texture == nullptr) return nullptr;
  g_textures.push_back(OverlayTexture{o.id, texture, o.width, o.height, o.format, false});
  return &g_textures.back();
}

}  // namespace

void DrawOverlays(const HostRect& fit, int pictureWidth, int pictureHeight) {
  SDL_Renderer* renderer = State().renderer;
  int count = 0;
  const HostOverlay* overlays = HostOverlaysInUse(&count);
  for (OverlayTexture& t : g_textures) t.used = false;
  const int64_t fw = fit.right - fit.left, fh = fit.bottom - fit.top;
  for (int i = 0; renderer != nullptr && pictureWidth > 0 && pictureHeight > 0 && i < count; ++i) {
    const HostOverlay& o = overlays[i];
    OverlayTexture* t = TextureFor(renderer, o);
    if (t == nullptr) continue;
    t->used = true;
    if (SDL_UpdateTexture(t->texture, nullptr, o.pixels, o.pitch) != 0) continue;
    // Picture pixels to window pixels, through the picture's own fit.
    const auto x = [&](int v) { return static_cast<int>(fit.left + v * fw / pictureWidth); };
    const auto y = [&](int v) { return static_cast<int>(fit.top + v * fh / pictureHeight); };
    const SDL_Rect from{o.source.left, o.source.top, o.source.right - o.source.left, o.source.bottom - o.source.top};
    const SDL_Rect to{x(o.destination.left), y(o.destination.top), x(o.destination.right) - x(o.destination.left),
                      y(o.destination.bottom) - y(o.destination.top)};
    // Only the part over the picture shows, as an overlay shows only on the screen.
    const SDL_Rect picture{fit.left, fit.top, fit.right - fit.left, fit.bottom - fit.top};
    SDL_RenderSetClipRect(renderer, &picture);
    SDL_RenderCopy(renderer, t->texture, &from, &to);
    SDL_RenderSetClipRect(renderer, nullptr);
  }
  // Overlays hidden or gone since the last present give their textures back.
  std::vector<OverlayTexture> kept;
  for (OverlayTexture& t : g_textures) {
    if (t.used) kept.push_back(t);
    else if (t.texture != nullptr) SDL_DestroyTexture(t.texture);
  }
  g_textures.swap(kept);
}

void ReleaseOverlayTextures() {
  for (OverlayTexture& t : g_textures) {
    if (t.texture != nullptr) SDL_DestroyTexture(t.texture);
  }
  g_textures.clear();
}

}  // namespace plat::sdl

namespace plat {

int SdlOverlayTextureCount() { return static_cast<int>(sdl::g_textures.size()); }

}  // namespace plat
