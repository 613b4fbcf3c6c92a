// A drawing interface on a small back buffer for the skin and widget tests, and
// helpers that write records to bytes and read them back.
#pragma once

#include <cstdint>
#include <vector>

#include "core/byte_stream.h"
#include "core/object.h"
#include "graphics/api/graphic_api.h"
#include "graphics/geometry/color.h"
#include "image/channel.h"
#include "image/image.h"
#include "image/surface.h"
#include "platform/window.h"

namespace skin_test {

// A root interface with a width x height back buffer, attached to a window that is
// never opened (enough to draw and to route a desktop's events without a display);
// its owner is active, as a focused window's is.
struct Screen {
  Screen(int32_t width, int32_t height) {
    api.Configure(static_cast<uint32_t>(width), static_cast<uint32_t>(height), 32, 0, 0, 0);
    window.Owner.Area =
        C_Rect(0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height), 0, 0);
    window.Owner.Active = 1;
    api.Attach(&window.Owner);
    api.Open();
  }
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  C_Window window;
  C_GraphicApi api;
};

// A screen in its drawing state, its back buffer white.
struct Canvas : Screen {
  Canvas(int32_t width, int32_t height) : Screen(width, height) {
    api.BeginDraw();
    const C_Color white(1, 1, 1, 1);
    api.Clear(&white);
  }
  ~Canvas() {
    if (api.State == ApiDrawing) api.EndDraw();
  }
  uint32_t At(int32_t x, int32_t y) const {
    return reinterpret_cast<const uint32_t*>(
               api.Target->FindImage(kColorChannel)->RowAddress(y))[x] |
           0xFF000000u;
  }
  const C_Image& Image() const { return *api.Target->FindImage(kColorChannel); }
};

// 0xFFRRGGBB of byte values.
constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) {
  return 0xFF000000u | (r << 16) | (g << 8) | b;
}

inline std::vector<uint8_t> SaveBytes(C_Object& object) {
  ByteStream* stream = NewMemoryWriter();
  std::vector<uint8_t> bytes;
  if (object.Save(stream, 0)) bytes.assign(stream->Buffer, stream->Buffer + stream->Total);
  FreeStream(stream);
  return bytes;
}

// Loads object from bytes; `consumed` receives the bytes read.
inline bool LoadBytes(C_Object& object, const std::vector<uint8_t>& bytes,
                      int64_t* consumed = nullptr) {
  ByteStream* stream = NewMemoryReader(bytes.data(), bytes.size());
  const bool loaded = object.Load(stream, 0);
  if (consumed) *consumed = StreamOffset(stream);
  FreeStream(stream);
  return loaded;
}

}  // namespace skin_test
