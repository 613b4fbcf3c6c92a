// Draws and blits with option sets and geometry taken from the input onto small
// images that sit inside guarded blocks; any write outside an image's own pixels
// changes a guard and aborts.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "graphics/geometry/color.h"
#include "graphics/raster/draw_surface.h"
#include "image/channel.h"
#include "image/image.h"
#include "image/surface.h"

namespace {

constexpr size_t kGuardBytes = 64;
constexpr uint8_t kGuardValue = 0xA5;

class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  float Float() {
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits = (bits << 8) | Byte();
    // Mostly small sensible numbers, sometimes raw bits (NaN, infinities, huge).
    if ((bits & 3) != 0) return static_cast<float>(static_cast<int32_t>(bits) >> 20) / 16.0f;
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

// An image whose pixels live in the middle of a guarded block.
struct GuardedImage {
  std::vector<uint8_t> block;
  C_Image* image = new C_Image;

  GuardedImage(Input& in, int32_t format, int32_t bytes) {
    const int32_t width = 1 + in.Byte() % 24;
    const int32_t height = 1 + in.Byte() % 24;
    const int32_t pitch = width * bytes + in.Byte() % 8;
    block.assign(kGuardBytes * 2 + static_cast<size_t>(pitch) * height, kGuardValue);
    for (size_t i = kGuardBytes; i < block.size() - kGuardBytes; ++i) block[i] = in.Byte();
    image->AttachPixels(width, pitch, height, format, static_cast<int32_t>(0x80000001u),
                        block.data() + kGuardBytes);
    image->BottomUp = in.Byte() & 1;
  }
  void Check() const {
    for (size_t i = 0; i < kGuardBytes; ++i) {
      if (block[i] != kGuardValue || block[block.size() - 1 - i] != kGuardValue) abort();
    }
  }
};

C_Rect MakeRect(Input& in) {
  return C_Rect(in.Float(), in.Float(), in.Float(), in.Float(), in.Byte(), in.Byte(),
                C_Vector2D(in.Float(), in.Float(), in.Byte()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in(data, size);
  const uint8_t layout = in.Byte();
  const int32_t formats[] = {24, 23, 38, 39, 14};  // the last one is refused
  GuardedImage sourceColor(in, formats[layout % 5], layout % 5 == 4 ? 2 : 4);
  GuardedImage sourceAlpha(in, 6, 1);
  GuardedImage targetColor(in, formats[(layout >> 3) % 4], 4);
  GuardedImage targetMask(in, 6, 1);

  C_Surface source;
  C_Surface target;
  if ((layout & 0x40) == 0)
    source.SetChannel(sourceColor.image, kColorChannel);
  else
    delete sourceColor.image;
  if (layout & 0x80)
    source.SetChannel(sourceAlpha.image, kAlphaChannel);
  else
    delete sourceAlpha.image;
  target.SetChannel(targetColor.image, kColorChannel);
  if (layout & 0x20)
    target.SetChannel(targetMask.image, kAlphaChannel);
  else
    delete targetMask.image;
  source.Columns = in.Byte() % 5;
  source.Rows = in.Byte() % 5;
  if (in.Byte() & 1) source.Extra = new C_Color(in.Float(), in.Float(), in.Float(), 1);

  const uint8_t flags = in.Byte();
  DrawOptions options;
  options.Scale = C_Vector2D(in.Float(), in.Float());
  if (flags & 1) options.Scale = C_Vector2D(1, 1);
  options.Angle = (flags & 2) ? in.Float() : 0;
  options.Pivot = C_Vector2D(in.Float(), in.Float(), in.Byte());
  options.MirrorX = (flags >> 2) & 1;
  options.MirrorY = (flags >> 3) & 1;
  options.WrapX = (flags >> 4) & 1;
  options.WrapY = (flags >> 5) & 1;
  options.Opacity = (flags & 0x40) ? in.Float() : 1;
  options.Smooth = in.Byte() & 1;
  const uint8_t effects = in.Byte();
  options.UseColorKey = effects & 1;
  options.UseTint = (effects >> 1) & 1;
  options.UseOffset = (effects >> 2) & 1;
  options.UseContrast = (effects >> 3) & 1;
  options.Tint = C_Color(in.Float(), in.Float(), in.Float(), 1);
  options.Offset = C_Color(in.Float(), in.Float(), in.Float(), 0);
  options.Contrast = C_Color(in.Float(), in.Float(), in.Float(), 0);

  const C_Rect sourceRect = MakeRect(in);
  const C_Rect viewport = MakeRect(in);
  const C_Rect clip = MakeRect(in);
  const C_Rect destination = MakeRect(in);
  const C_Vector2D position(in.Float(), in.Float(), in.Byte());
  const uint8_t use = in.Byte();
  C_Rect dirty(1e9f, 1e9f, -1e9f, -1e9f, 0, 0);
  const C_Rect* sr = (use & 1) ? &sourceRect : nullptr;
  const C_Rect* vp = (use & 2) ? &viewport : nullptr;
  const C_Rect* cl = (use & 4) ? &clip : nullptr;
  if (use & 8) {
    BlitSurface(&source, &target, sr, vp, cl, destination, position, 0,
                (use & 16) ? &options : nullptr, &dirty);
  } else {
    DrawSurface(&source, &target, sr, vp, cl, position, (use & 16) ? &options : nullptr, &dirty);
  }
  sourceColor.Check();
  sourceAlpha.Check();
  targetColor.Check();
  targetMask.Check();
  return 0;
}
