// Text drawing against SDL_ttf doing the same work in the same run: a 40-character
// status line and a 2,000-character wrapped paragraph (justified on our side) onto
// an 800 x 600 32-bit surface, from the same TrueType face at the same pixel size.
// Ours draws from the baked font pack; SDL_ttf renders with FreeType
// (TTF_RenderUTF8_Blended, _Blended_Wrapped for the paragraph) and the result is
// blitted onto an ARGB surface of the same size, which is what a user of SDL_ttf
// does each frame. Pairs are named Ours/<case> and SdlTtf/<case>; their
// repetitions run interleaved (see interleaved_runs.h), so that both sides of a
// pair see the same host.
#include <SDL.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "bench/interleaved_runs.h"
#include "core/byte_stream.h"
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

constexpr int kWidth = 800, kHeight = 600;
constexpr int kStatusSize = 10;  // the demo's status line
constexpr int kParagraphSize = 12;
constexpr int kParagraphMargin = 10;
const char* const kFace = DF_FONT_FOLDER "/dejavu/DejaVuSans.ttf";

const std::string& StatusLine() {
  static const std::string text = "Generation: 152 fps    All: 148 fps  ok!";
  return text;
}

const std::string& Paragraph() {
  static const std::string text = [] {
    const std::string words =
        "Procedural textures grow from noise, lumps and blobs; each frame the height field "
        "is made again, its normals derived and lit by a light the mouse steers. ";
    std::string t;
    while (t.size() < 2000) t += words;
    t.resize(2000);
    return t;
  }();
  return text;
}

struct OurSide {
  C_Collection pack;
  C_Surface target;
  C_Font* font = nullptr;
  OurSide() {
    LoadObjectFile(&pack, DF_FONTS_PAK);
    font = ItemAs<C_Font>(pack, 0);
    auto* image = new C_Image();
    image->Create(kWidth, pixel_format::A8R8G8B8, kHeight);
    std::memset(image->Pixels, 0x40, static_cast<size_t>(image->PixelBytes));
    target.SetChannel(image, kColorChannel);
  }
  ~OurSide() { pack.DeleteItems(); }
};

OurSide& Ours() {
  static OurSide side;
  return side;
}

struct TtfSide {
  TTF_Font* status = nullptr;
  TTF_Font* paragraph = nullptr;
  SDL_Surface* target = nullptr;
  TtfSide() {
    SDL_Init(0);
    TTF_Init();
    status = TTF_OpenFont(kFace, kStatusSize);
    paragraph = TTF_OpenFont(kFace, kParagraphSize);
    target = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, SDL_PIXELFORMAT_ARGB8888);
  }
};

TtfSide& Ttf() {
  static TtfSide side;
  return side;
}

void OursStatusLine(benchmark::State& state) {
  OurSide& ours = Ours();
  if (ours.font == nullptr) return state.SkipWithError("no fonts.pak");
  const C_String text(StatusLine().c_str());
  const C_FontType type("Arial", kStatusSize);  // kind 10, as the demo asks
  TextRequest r;
  r.Color = C_Color(0.5019608f, 0, 0, 1);
  r.HighlightColor = C_Color(0, 0, 0, 1);
  r.LayoutRect = C_Rect(0.0f, 0.0f, 0.0f, 0.0f, 0x00, 0x11);
  r.Position = C_Vector2D(30, 7);
  r.Text = &text;
  r.Font = ours.font;
  r.Type = &type;
  r.Target = &ours.target;
  for (auto _ : state) benchmark::DoNotOptimize(RenderText(r));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(StatusLine().size()));
}

void OursParagraph(benchmark::State& state) {
  OurSide& ours = Ours();
  if (ours.font == nullptr) return state.SkipWithError("no fonts.pak");
  const C_String text(Paragraph().c_str());
  C_FontType type;
  type.Size = kParagraphSize;  // kind 0: widget text
  C_TextFormat format;
  format.Align = AlignJustify;
  TextRequest r;
  r.Color = C_Color(1, 1, 0.8f, 1);
  r.LayoutRect = C_Rect(static_cast<float>(kParagraphMargin), static_cast<float>(kParagraphMargin),
                        static_cast<float>(kWidth - kParagraphMargin),
                        static_cast<float>(kHeight - kParagraphMargin), 0, 0);
  r.Text = &text;
  r.Font = ours.font;
  r.Type = &type;
  r.Format = &format;
  r.Target = &ours.target;
  C_Rect extent;
  r.Extent = &extent;
  for (auto _ : state) benchmark::DoNotOptimize(RenderText(r));
  state.counters["lines"] = (extent.Y2 - extent.Y1) / (1.5f * kParagraphSize + 1);
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(Paragraph().size()));
}

void TtfStatusLine(benchmark::State& state) {
  TtfSide& ttf = Ttf();
  if (ttf.status == nullptr || ttf.target == nullptr) return state.SkipWithError("no SDL_ttf face");
  const SDL_Color color{128, 0, 0, 255};
  for (auto _ : state) {
    SDL_Surface* line = TTF_RenderUTF8_Blended(ttf.status, StatusLine().c_str(), color);
    SDL_Rect at{30, 7, 0, 0};
    SDL_BlitSurface(line, nullptr, ttf.target, &at);
    SDL_FreeSurface(line);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(StatusLine().size()));
}

void TtfParagraph(benchmark::State& state) {
  TtfSide& ttf = Ttf();
  if (ttf.paragraph == nullptr || ttf.target == nullptr)
    return state.SkipWithError("no SDL_ttf face");
  const SDL_Color color{255, 255, 204, 255};
  for (auto _ : state) {
    SDL_Surface* block = TTF_RenderUTF8_Blended_Wrapped(ttf.paragraph, Paragraph().c_str(), color,
                                                        kWidth - 2 * kParagraphMargin);
    SDL_Rect at{kParagraphMargin, kParagraphMargin, 0, 0};
    SDL_BlitSurface(block, nullptr, ttf.target, &at);
    SDL_FreeSurface(block);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(Paragraph().size()));
}

}  // namespace

BENCHMARK(OursStatusLine)->Name("Ours/StatusLine");
BENCHMARK(TtfStatusLine)->Name("SdlTtf/StatusLine");
BENCHMARK(OursParagraph)->Name("Ours/Paragraph");
BENCHMARK(TtfParagraph)->Name("SdlTtf/Paragraph");

int main(int argc, char** argv) {
  return RunInterleaved(argc, argv);
}
