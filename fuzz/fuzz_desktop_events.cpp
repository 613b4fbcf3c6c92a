// Feeds a desktop holding the gallery's widgets a long session of events chosen by
// the input: presses and releases of any button, pointer moves (inside, on the
// edges and far outside the screen), keys with and without characters, timer ticks
// at times moving forward by random steps, form commands and a few paints. After
// every event each scroll bar that has a range must hold a value within it.
//
// The gallery is built once; every input starts from a fresh clone of it on a new
// desktop, so that an input does the same whatever ran before it. Inputs may be a
// few KiB long (fuzz_desktop_events.options, which scripts/fuzz-smoke.sh passes to
// libFuzzer), one event per one to eight bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "core/collection.h"
#include "tests/font/font_test_support.h"
#include "tests/skin/skin_test_support.h"
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

constexpr int kMaxSteps = 8192;
constexpr int kMaxPaints = 4;  // filling the screen costs the most

// The scroll bars of the tree, found once per input (events never add widgets).
void FindBars(C_Widget* w, std::vector<const C_ScrollBar*>& bars) {
  if (!w) return;
  if (const auto* bar = dynamic_cast<const C_ScrollBar*>(w)) bars.push_back(bar);
  for (uint32_t i = 0; i < w->ChildCount(); ++i) FindBars(w->ChildAt(i), bars);
}

void CheckBars(const std::vector<const C_ScrollBar*>& bars) {
  for (const C_ScrollBar* bar : bars) {
    if (bar->Maximum >= bar->Minimum && (bar->Value < bar->Minimum || bar->Value > bar->Maximum))
      std::abort();
  }
}

C_Form* AnyForm(C_Widget* root, uint8_t pick) {
  if (!root || root->ChildCount() == 0) return nullptr;
  return dynamic_cast<C_Form*>(root->ChildAt(pick % root->ChildCount()));
}

// A fresh copy of a pristine widget (a clone starts without a parent).
C_Widget* Copy(const C_Widget* pristine) {
  return dynamic_cast<C_Widget*>(const_cast<C_Widget*>(pristine)->Clone());
}

// The window, the drawing interface, the font and the widgets every input starts
// from: the gallery's form and a second form, built once on a scratch desktop.
struct World {
  World() {
    font = font_test::MakeBoxFont();
    fonts.Append(font.get());
    scratch.CreatePage();
    const Gallery gallery = BuildGallery(scratch, "Boxes");
    if (gallery.Form) gallery.Form->BringToFront = 1;
    form = gallery.Form;
    second = MakeWidget(TemplateForm, "Boxes", FormRect(300, 200, 700, 250), "second", "second");
  }
  ~World() {
    DeleteOwnedObject(second);
    fonts.Release();
  }
  skin_test::Screen screen{800, 600};
  C_Window& window = screen.window;
  C_GraphicApi& api = screen.api;
  std::unique_ptr<C_Font> font;
  C_Collection fonts;
  C_Desktop scratch;  // holds the gallery's form
  const C_Widget* form = nullptr;
  C_Widget* second = nullptr;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static World world;
  Input in(data, size);
  C_Desktop desktop;
  desktop.Clock = FuzzClock;
  gNow = 1000;
  world.window.Owner.Active = 1;
  desktop.InstallHandlers(&world.api);
  desktop.Fonts = &world.fonts;
  desktop.BindResources();
  desktop.CreatePage();
  for (const C_Widget* pristine : {world.form, static_cast<const C_Widget*>(world.second)}) {
    if (pristine == world.second && !(in.Byte() & 1)) continue;
    C_Widget* copy = pristine ? Copy(pristine) : nullptr;
    if (copy && !desktop.Root->AddChild(copy)) DeleteOwnedObject(copy);
  }
  desktop.PrepareAll();
  std::vector<const C_ScrollBar*> bars;
  FindBars(desktop.Root, bars);
  int32_t left = 0, middle = 0, right = 0, x = 0, y = 0;
  int paints = 0;
  for (int steps = 0; in.More() && steps < kMaxSteps; ++steps) {
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
        } else if (paints < kMaxPaints) {
          ++paints;
          desktop.Layout();
          desktop.Paint();
        }
        break;
      }
    }
    CheckBars(bars);
  }
  desktop.UnprepareAll();
  return 0;
}
