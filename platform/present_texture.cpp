// The texture path of presentation: an SDL renderer (accelerated where the driver
// has one, else SDL's software renderer) drawing a streaming texture of the
// window's size, which each present rewrites whole.
#include "platform/window_record.h"

namespace {

// The texture's layout: 32-bit pixels, blue in the lowest byte and red in the
// third, as the presented back buffer holds them, so that rows copy unconverted.
constexpr uint32_t kTextureLayout = SDL_PIXELFORMAT_RGB888;

bool Problem(WindowPlatformRecord& p, const char* what) {
  p.PresentProblem = what;
  p.PresentProblem += ": ";
  p.PresentProblem += SDL_GetError();
  return false;
}

bool EnsureTexture(WindowPlatformRecord& p) {
  if (!p.Renderer) {
    p.Renderer = SDL_CreateRenderer(p.Handle, -1, 0);
    if (!p.Renderer) return Problem(p, "no SDL renderer for the window");
  }
  if (!p.TextureFormat) {
    p.TextureFormat = SDL_AllocFormat(kTextureLayout);
    if (!p.TextureFormat) return Problem(p, "no pixel format for the texture");
  }
  int32_t width = 0;
  int32_t height = 0;
  SDL_GetWindowSize(p.Handle, &width, &height);
  if (width < 1) width = 1;
  if (height < 1) height = 1;
  if (p.Texture && p.TextureWidth == width && p.TextureHeight == height) return true;
  if (p.Texture) SDL_DestroyTexture(p.Texture);
  p.Texture =
      SDL_CreateTexture(p.Renderer, kTextureLayout, SDL_TEXTUREACCESS_STREAMING, width, height);
  p.TextureWidth = p.Texture ? width : 0;
  p.TextureHeight = p.Texture ? height : 0;
  return p.Texture != nullptr || Problem(p, "no streaming texture for the window");
}

}  // namespace

bool LockTexture(WindowPlatformRecord& p, const SDL_Rect* area, PixelTarget& target) {
  if (!EnsureTexture(p)) return false;
  const SDL_Rect whole{0, 0, p.TextureWidth, p.TextureHeight};
  SDL_Rect locked = whole;
  if (area && !SDL_IntersectRect(area, &whole, &locked)) return false;
  void* pixels = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(p.Texture, &locked, &pixels, &pitch) != 0) {
    return Problem(p, "the texture cannot be written");
  }
  target = PixelTarget{static_cast<uint8_t*>(pixels),
                       pitch,
                       locked.x,
                       locked.y,
                       locked.w,
                       locked.h,
                       p.TextureFormat};
  return true;
}

void ShowTexture(WindowPlatformRecord& p) {
  SDL_UnlockTexture(p.Texture);
  if (SDL_RenderCopy(p.Renderer, p.Texture, nullptr, nullptr) != 0) {
    Problem(p, "the renderer cannot draw the texture");
    return;
  }
  SDL_RenderPresent(p.Renderer);
}

void ReleasePresentTexture(WindowPlatformRecord& p) {
  if (p.Texture) SDL_DestroyTexture(p.Texture);
  if (p.Renderer) SDL_DestroyRenderer(p.Renderer);
  if (p.TextureFormat) SDL_FreeFormat(p.TextureFormat);
  p.Texture = nullptr;
  p.Renderer = nullptr;
  p.TextureFormat = nullptr;
  p.TextureWidth = p.TextureHeight = 0;
  p.Path = PresentAutomatic;
  p.PresentProblem.clear();
}
