// Feeds a desktop holding the gallery's widgets a sequence of events chosen by the
// input: presses and releases of any button, pointer moves (inside, on the edges
// and far outside the screen), keys with and without characters, timer ticks at
// times moving forward by random steps, form commands and a paint. After every
// event each scroll bar that has a range must hold a value within it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "core/collection.h"
#include "graphics/api/graphic_api.h"
#include "platform/window.h"
#include "tests/font/font_test_support.h"
#include "widget/desktop.h"
#include "widget/form.h"
#include "widget/gallery.h"
#include "widget/scroll_bar.h"

namespace {

class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  bool More() const { return pos_ < size_; }
  // Mostly on the 800 x 600 screen, sometimes just off it or far away.
  int32_t Coordinate(int32_t extent) {
    const uint8_t kind = Byte();
    const int32_t value = (Byte() << 8) | Byte();
    if (kind < 220) return value % (extent + 1);
    if (kind < 250) return value % 40 - 20 + (kind & 1 ? extent : 0);
    return static_cast<int16_t>(value) * 8;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

double gNow = 0;
double FuzzClock() {
  return gNow;
}

// Keys the desktop acts on, and a few it does not.
constexpr int32_t kKeys[] = {KeyBackspace,  KeyTab,       KeyEnter,  KeyArrowLeft, KeyArrowUp,
                             KeyArrowRight, KeyArrowDown, KeyDelete, 65,           27};

void CheckBars(const C_Widget* w) {
  if (!w) return;
  if (const auto* bar = dynamic_cast<const C_ScrollBar*>(w)) {
    if (bar->Maximum >= bar->Minimum && (bar->Value < bar->Minimum || bar->Value > bar->Maximum))
      std::abort();
  }
  for (uint32_t i = 0; i < w->ChildCount(); ++i) CheckBars(w->ChildAt(i));
}

C_Form* AnyForm(C_Widget* root, uint8_t pick) {
  if (!root || root->ChildCount() == 0) return nullptr;
  return dynamic_cast<C_Form*>(root->ChildAt(pick % root->ChildCount()));
}

struct World {
  World() {
    api.Configure(800, 600, 32, 0, 0, 0);
    window.Owner.Area = C_Rect(0.0f, 0.0f, 800.0f, 600.0f, 0, 0);
    window.Owner.Active = 1;
    api.Attach(&window.Owner);
    api.Open();
    font = font_test::MakeBoxFont();
    fonts.Append(font.get());
  }
  ~World() { fonts.Release(); }
  C_Window window;
  C_GraphicApi api;
  std::unique_ptr<C_Font> font;
  C_Collection fonts;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static World world;
  Input in(data, size);
  C_Desktop desktop;
  desktop.Clock = FuzzClock;
  gNow = 1000;
  desktop.InstallHandlers(&world.api);
  desktop.Fonts = &world.fonts;
  desktop.BindResources();
  desktop.CreatePage();
  const Gallery gallery = BuildGallery(desktop, "Boxes");
  if (in.Byte() & 1) {
    C_Widget* second =
        MakeWidget(TemplateForm, "Boxes", FormRect(300, 200, 700, 250), "second", "second");
    if (second && !desktop.Root->AddChild(second)) DeleteOwnedObject(second);
  }
  if (gallery.Form) gallery.Form->BringToFront = 1;
  desktop.PrepareAll();
  int32_t left = 0, middle = 0, right = 0, x = 0, y = 0;
  bool painted = false;
  for (int steps = 0; in.More() && steps < 400; ++steps) {
    const uint8_t op = in.Byte();
    switch (op % 8) {
      case 0:
      case 1: {  // a press: some buttons already down or not
        const uint8_t buttons = in.Byte();
        left = buttons & 1;
        middle = (buttons >> 1) & 1;
        right = (buttons >> 2) & 1;
        x = in.Coordinate(800);
        y = in.Coordinate(600);
        desktop.ButtonDown(left, middle, right, x, y);
        break;
      }
      case 2:
      case 3:
        x = in.Coordinate(800);
        y = in.Coordinate(600);
        desktop.MouseMove(left, middle, right, x, y);
        break;
      case 4:
        desktop.ButtonUp(left, middle, right, x, y);
        left = middle = right = 0;
        break;
      case 5: {
        const uint8_t key = in.Byte();
        const int32_t character = in.Byte() & 1 ? in.Byte() : 0;
        desktop.KeyDown(character, kKeys[key % (sizeof kKeys / sizeof kKeys[0])]);
        break;
      }
      case 6:
        gNow += in.Byte() / 100.0;
        desktop.Timer(left, middle, right, x, y);
        break;
      case 7: {
        const uint8_t what = in.Byte();
        if (what < 64) {
          desktop.RunFormCommand(AnyForm(desktop.Root, in.Byte()),
                                 static_cast<uint16_t>(PartMinimise + what % 4));
        } else if (what < 240) {
          world.window.Owner.Active = what & 1;
        } else if (!painted) {  // one paint at most: filling the screen costs the most
          painted = true;
          desktop.Layout();
          desktop.Paint();
        }
        break;
      }
    }
    CheckBars(desktop.Root);
  }
  desktop.UnprepareAll();
  return 0;
}
