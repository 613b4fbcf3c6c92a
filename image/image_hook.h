// ImageHook: the record through which a drawing interface binds itself to a
// resource, so that the resource can ask it to rebuild or drop its display copies.
#pragma once

#include <cstdint>

class C_GraphicApi;
class C_Surface;

// Rebuilds (update) or drops (release) the display copies of a surface's channels
// with the given key; the key kAllChannels means every channel.
using SurfaceHook = bool (*)(C_Surface* surface, int32_t key);

inline constexpr int32_t kAllChannels = static_cast<int32_t>(0x80000003u);

struct ImageHook {
  SurfaceHook Refresh = nullptr;  // rebuilds display copies from the source images
  SurfaceHook Drop = nullptr;     // deletes display copies
  C_GraphicApi* Owner = nullptr;  // the interface both functions forward to
};
