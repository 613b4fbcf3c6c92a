// Painting the controls sheet. Colours come from the system colour table, so the
// sheet matches the layers that name system colours.
#include "tools/skinbuild/sheets.h"

#include <cmath>
#include <functional>

#include "image/channel.h"
#include "image/image.h"
#include "image/pixel_format.h"
#include "image/surface.h"
#include "platform/system_color.h"

namespace {

struct Rgb {
  uint8_t r, g, b;
};

Rgb System(int32_t index) {
  Rgb c{};
  GetSystemColorBytes(index, c.r, c.g, c.b);
  return c;
}

constexpr Rgb kBlack{0, 0, 0};

class Painter {
 public:
  Painter(C_Image* colour, C_Image* alpha) : colour_(colour), alpha_(alpha) {}

  void Put(int32_t x, int32_t y, Rgb c, uint8_t a = 255) {
    if (x < 0 || y < 0 || x >= kSheetWidth || y >= kSheetHeight) return;
    reinterpret_cast<uint32_t*>(colour_->RowAddress(y))[x] =
        0xFF000000u | (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b;
    alpha_->RowAddress(y)[x] = a;
  }

  // A 16 x 16 tile at (x0, y0) filled by rule(x, y) for every pixel it covers.
  void Tile16(int32_t x0, int32_t y0, const std::function<bool(int32_t, int32_t, Rgb&)>& rule) {
    for (int32_t y = 0; y < 16; ++y) {
      for (int32_t x = 0; x < 16; ++x) {
        Rgb c{};
        if (rule(x, y, c)) Put(x0 + x, y0 + y, c);
      }
    }
  }

  // A two-pixel bevel: outer and inner rings, top-left and bottom-right colours.
  void Bevel(int32_t x0, int32_t y0, Rgb outerLight, Rgb innerLight, Rgb outerDark, Rgb innerDark,
             Rgb face) {
    Tile16(x0, y0, [&](int32_t x, int32_t y, Rgb& c) {
      const int32_t ring = std::min(std::min(x, y), std::min(15 - x, 15 - y));
      const bool bottomRight = x == 15 - ring || y == 15 - ring;
      if (ring == 0) {
        c = bottomRight ? outerDark : outerLight;
      } else if (ring == 1) {
        c = bottomRight ? innerDark : innerLight;
      } else {
        c = face;
      }
      return true;
    });
  }

  // Ink of a glyph: every pixel the shape covers, in colour.
  void Glyph(int32_t x0, int32_t y0, Rgb ink, const std::function<bool(int32_t, int32_t)>& covers) {
    Tile16(x0, y0, [&](int32_t x, int32_t y, Rgb& c) {
      if (!covers(x, y)) return false;
      c = ink;
      return true;
    });
  }

 private:
  C_Image* colour_;
  C_Image* alpha_;
};

void PaintCaption(Painter& p, int32_t x0, Rgb from, Rgb to) {
  for (int32_t x = 0; x < static_cast<int32_t>(kCaptionWidth); ++x) {
    const float t = static_cast<float>(x) / (kCaptionWidth - 1);
    const Rgb c{static_cast<uint8_t>(std::lround(from.r + (to.r - from.r) * t)),
                static_cast<uint8_t>(std::lround(from.g + (to.g - from.g) * t)),
                static_cast<uint8_t>(std::lround(from.b + (to.b - from.b) * t))};
    for (int32_t y = 0; y < 16; ++y) p.Put(x0 + x, static_cast<int32_t>(kCaptionY) + y, c);
  }
}

}  // namespace

float TileX(Tile tile) {
  return static_cast<float>((tile % 16) * 16);
}

float TileY(Tile tile) {
  return static_cast<float>((tile / 16) * 16);
}

C_Surface* PaintControlsSheet() {
  auto* colour = new C_Image();
  auto* alpha = new C_Image();
  auto* sheet = new C_Surface();
  if (!colour->Create(kSheetWidth, pixel_format::A8R8G8B8, kSheetHeight) ||
      !alpha->Create(kSheetWidth, pixel_format::Grey8, kSheetHeight)) {
    delete colour;
    delete alpha;
    delete sheet;
    return nullptr;
  }
  Painter p(colour, alpha);
  for (int32_t y = 0; y < kSheetHeight; ++y)
    for (int32_t x = 0; x < kSheetWidth; ++x) p.Put(x, y, kBlack, 0);

  const Rgb face = System(SysColorButtonFace);
  const Rgb light = System(SysColor3DLight);
  const Rgb highlight = System(SysColorButtonHighlight);
  const Rgb shadow = System(SysColorButtonShadow);
  const Rgb dark = System(SysColor3DDarkShadow);
  auto lighter = [](uint8_t v) { return static_cast<uint8_t>(std::min(255, v + 24)); };
  const Rgb hoverFace{lighter(face.r), lighter(face.g), lighter(face.b)};
  auto at = [](Tile t) {
    return std::pair<int32_t, int32_t>(static_cast<int32_t>(TileX(t)),
                                       static_cast<int32_t>(TileY(t)));
  };

  auto [rx, ry] = at(TileBevelRaised);
  p.Bevel(rx, ry, light, highlight, dark, shadow, face);
  auto [sx, sy] = at(TileBevelSunken);
  p.Bevel(sx, sy, dark, shadow, highlight, light, face);
  auto [hx, hy] = at(TileBevelHover);
  p.Bevel(hx, hy, highlight, highlight, dark, shadow, hoverFace);
  auto [fx, fy] = at(TileField);
  p.Bevel(fx, fy, shadow, dark, highlight, light, System(SysColorWindow));
  auto [wx, wy] = at(TileWindow);
  p.Bevel(wx, wy, light, highlight, dark, shadow, face);
  auto [ex, ey] = at(TileEtched);
  p.Bevel(ex, ey, shadow, highlight, highlight, shadow, face);

  const Rgb ink = System(SysColorButtonText);
  auto [cx, cy] = at(TileCheckMark);
  p.Glyph(cx, cy, ink, [](int32_t x, int32_t y) {
    // Down from (4, 7) to (6, 9), then up to (11, 4), three pixels thick.
    if (x >= 4 && x <= 6) return y >= x + 3 && y <= x + 5;
    if (x >= 7 && x <= 11) return y >= 15 - x - 1 && y <= 15 - x + 1;
    return false;
  });
  auto [ox, oy] = at(TileOptionRing);
  p.Tile16(ox, oy, [&](int32_t x, int32_t y, Rgb& c) {
    const float d = std::hypot(x - 7.5f, y - 7.5f);
    if (d > 6.5f) return false;
    const bool upperLeft = x + y < 15;
    c = d > 5.5f   ? (upperLeft ? shadow : highlight)
        : d > 4.5f ? (upperLeft ? dark : light)
                   : System(SysColorWindow);
    return true;
  });
  auto [dx, dy] = at(TileOptionDot);
  p.Glyph(dx, dy, ink, [](int32_t x, int32_t y) { return std::hypot(x - 7.5f, y - 7.5f) < 2.6f; });
  struct ArrowTile {
    Tile tile;
    int32_t dx, dy;
  };
  for (const ArrowTile a : {ArrowTile{TileArrowUp, 0, -1}, ArrowTile{TileArrowDown, 0, 1},
                            ArrowTile{TileArrowLeft, -1, 0}, ArrowTile{TileArrowRight, 1, 0}}) {
    auto [ax, ay] = at(a.tile);
    p.Glyph(ax, ay, ink, [&](int32_t x, int32_t y) {
      const int32_t along = a.dx > 0 ? x - 6 : a.dx < 0 ? 9 - x : a.dy > 0 ? y - 6 : 9 - y;
      const int32_t across = a.dx != 0 ? y - 7 : x - 7;
      // Rows 0..3 from the base to the tip, narrowing by one pixel on each side.
      return along >= 0 && along <= 3 && across >= along - 3 && across <= 3 - along;
    });
  }
  auto [mx, my] = at(TileGlyphMinimise);
  p.Glyph(mx, my, ink,
          [](int32_t x, int32_t y) { return x >= 4 && x <= 10 && y >= 10 && y <= 11; });
  auto [xx, xy] = at(TileGlyphMaximise);
  p.Glyph(xx, xy, ink, [](int32_t x, int32_t y) {
    const bool inBox = x >= 3 && x <= 12 && y >= 3 && y <= 11;
    return inBox && (x == 3 || x == 12 || y <= 4 || y == 11);
  });
  auto [tx, ty] = at(TileGlyphRestore);
  p.Glyph(tx, ty, ink, [](int32_t x, int32_t y) {
    auto box = [&](int32_t x1, int32_t y1) {
      const bool in = x >= x1 && x <= x1 + 6 && y >= y1 && y <= y1 + 5;
      return in && (x == x1 || x == x1 + 6 || y <= y1 + 1 || y == y1 + 5);
    };
    return box(3, 6) || (box(6, 3) && !(x > 3 && x < 9 && y > 6 && y < 11));
  });
  auto [ux, uy] = at(TileGlyphRollUp);
  p.Glyph(ux, uy, ink, [](int32_t x, int32_t y) {
    const int32_t row = y - 5;  // a chevron pointing up, two pixels thick
    return row >= 0 && row <= 4 && (std::abs(x - 7) == row || std::abs(x - 7) == row + 1) &&
           x >= 3 && x <= 12;
  });
  auto [kx, ky] = at(TileTrack);
  p.Tile16(kx, ky, [&](int32_t x, int32_t y, Rgb& c) {
    c = (x + y) % 2 == 0 ? face : highlight;
    return true;
  });
  PaintCaption(p, static_cast<int32_t>(kActiveCaptionX), System(SysColorActiveCaption),
               Rgb{16, 132, 208});
  PaintCaption(p, static_cast<int32_t>(kInactiveCaptionX), System(SysColorInactiveCaption),
               Rgb{192, 192, 192});

  sheet->SetChannel(colour, kColorChannel);
  sheet->SetChannel(alpha, kAlphaChannel);
  sheet->SetName(kControlsSheetName);
  return sheet;
}
