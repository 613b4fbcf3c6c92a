// Loads fonts from arbitrary bytes (one font record, or a pack: a collection of
// them) and lays out, hit-tests, measures and draws texts with each in several
// sizes, kinds, styles and formats onto a small target.
#include <cstdint>
#include <cstring>

#include "core/byte_stream.h"
#include "core/class_id.h"
#include "core/collection.h"
#include "core/string.h"
#include "font/font.h"
#include "font/font_type.h"
#include "font/render_text.h"
#include "font/text_format.h"
#include "graphics/geometry/color.h"
#include "image/channel.h"
#include "image/image.h"
#include "image/surface.h"

namespace {

constexpr int32_t kTargetWidth = 48;
constexpr int32_t kTargetHeight = 40;

void Exercise(C_Font& font, C_Surface& target, uint32_t round) {
  const char* const texts[] = {"Generation: 152 fps", "ab\tc d\ne  fghijklmnop qrs",
                               "\xE9\xE8 \xFC...*", "k", "   "};
  for (uint32_t t = 0; t < sizeof texts / sizeof *texts; ++t) {
    const C_String text(texts[t]);
    C_FontType type("any", static_cast<float>(4 + (round + t) % 7 * 5));
    type.Kind = (round + t) % 2 == 0 ? kKindNamed : kKindDefault;
    type.StyleFlag1 = t & 1;
    type.StyleFlag2 = (round >> 1) & 1;
    C_TextFormat format;
    format.Align = static_cast<uint8_t>((round + t) % 5);
    format.Ellipsis = (t + round) & 1;
    format.Password = t == 2 ? 1 : 0;
    format.Leading = static_cast<float>(t);
    TextLayout layout;
    layout.CaretIndex = static_cast<int32_t>(t * 3) - 1;
    layout.HighlightStart = 1;
    layout.HighlightEnd = static_cast<int32_t>(t + 2);
    if (t % 2 == 1) layout.Query = C_Vector2D(static_cast<float>(t * 7), static_cast<float>(t * 5));
    const C_Rect rect(static_cast<float>(t), 2.0f, static_cast<float>(20 + t * 9), 36.0f, 0, 0);
    TextRequest r;
    r.Color = C_Color(1, 0.5f, 0, t == 3 ? 0.5f : 1);
    r.HighlightColor = C_Color(0, 0, 1, 1);
    r.LayoutRect = rect;
    r.Text = &text;
    r.Font = &font;
    r.Type = &type;
    r.Format = &format;
    r.Target = &target;
    r.Position = C_Vector2D(static_cast<float>(t) - 2, -3);
    r.Flags[1] = t == 4;
    r.Flags[2] = t == 1;
    r.MeasureOnly = t == 0 && round == 1;
    r.Layout = &layout;
    RenderText(r);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ByteStream* stream = NewMemoryReader(data, size);
  if (stream == nullptr) return 0;
  uint16_t id = 0;
  ReadField(stream, id);
  StepBack(stream, stream->Position);
  C_Collection pack;
  C_Font single;
  if (id == class_id::Collection) {
    pack.Load(stream, 0);
  } else {
    single.Load(stream, 0);
  }
  FreeStream(stream);

  C_Surface target;
  auto* image = new C_Image();
  image->Create(kTargetWidth, pixel_format::A8R8G8B8, kTargetHeight);
  std::memset(image->Pixels, 0, static_cast<size_t>(image->PixelBytes));
  target.SetChannel(image, kColorChannel);

  uint32_t fonts = 0;
  for (uint32_t i = 0; i < pack.Count && fonts < 4; ++i) {
    C_Object* item = pack.GetAt(i);
    if (item == nullptr || item->GetClassId() != class_id::Font) continue;
    for (uint32_t round = 0; round < 2; ++round)
      Exercise(*static_cast<C_Font*>(item), target, round);
    ++fonts;
  }
  for (uint32_t round = 0; round < 2; ++round) Exercise(single, target, round);
  pack.DeleteItems();
  return 0;
}
