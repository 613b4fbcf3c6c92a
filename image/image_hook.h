// ImageHook: the record through which a drawing interface binds itself to a
// resource, so that the resource can ask it to rebuild or drop its display copies.
#pragma once

#include <cstdint>

class C_GraphicApi;
class C_Surface;

// Rebuilds (update) or drops (release) the display copies of a surface's channels
// with the given key; the key kAllChannels means every channel.
using SurfaceHook = bool (*)(C_Surface* surface, int32_t key);

// Rebuilds rows [first, end) of display copies that exist already, from the
// threads that made those rows; false when a copy is missing (update makes it).
using SurfaceRowsHook = bool (*)(C_Surface* surface, int32_t key, int32_t first, int32_t end);

inline constexpr int32_t kAllChannels = static_cast<int32_t>(0x80000003u);

struct ImageHook {
  SurfaceHook Refresh = nullptr;          // rebuilds display copies from the source images
  SurfaceHook Drop = nullptr;             // deletes display copies
  C_GraphicApi* Owner = nullptr;          // the interface the functions forward to
  SurfaceRowsHook RefreshRows = nullptr;  // rebuilds rows of display copies
};
