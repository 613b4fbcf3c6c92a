// A desktop on a real (headless) window for the desktop tests: an 800 x 600 back
// buffer, the box font as "Boxes", the gallery built and prepared, a clock the test
// sets, and SDL events pushed at the window and pumped through its dispatcher.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>

#include "core/collection.h"
#include "graphics/api/graphic_api.h"
#include "image/surface.h"
#include "platform/cursor.h"
#include "platform/message_pump.h"
#include "platform/window.h"
#include "skin/decal.h"
#include "tests/font/font_test_support.h"
#include "widget/desktop.h"
#include "widget/form.h"
#include "widget/gallery.h"
#include "widget/scroll_bar.h"
#include "widget/text_box.h"

namespace desktop_test {

inline double& TestNow() {
  static double now = 100.0;
  return now;
}
inline double TestClock() {
  return TestNow();
}

inline C_Vector2D Centre(const C_Widget* w) {
  return C_Vector2D((w->Resolved.X1 + w->Resolved.X2) / 2, (w->Resolved.Y1 + w->Resolved.Y2) / 2);
}

class DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Drain();
    TestNow() = 100.0;
    window.Placement = C_Rect(10.0f, 20.0f, 810.0f, 620.0f, 0, 0);
    window.Open();
    ASSERT_EQ(window.Opened, 1);
    Drain();
    api.Configure(800, 600, 32, 0, 0, 0);
    api.Attach(&window.Owner);
    api.Open();
    window.Owner.Active = 1;
    font = font_test::MakeBoxFont();
    fonts.Append(font.get());
    desktop.Clock = TestClock;
    desktop.InstallHandlers(&api);
    desktop.Fonts = &fonts;
    Populate();
    desktop.PrepareAll();
    desktop.Layout();
  }
  // Binds the resources and builds the screen: by default the gallery's flat
  // templates drawn with the box font.
  virtual void Populate() {
    desktop.BindResources();
    desktop.CreatePage();
    gallery = BuildGallery(desktop, "Boxes");
  }
  void TearDown() override {
    desktop.UnprepareAll();
    desktop.Release();
    desktop.Init();
    fonts.Release();
    window.Close();
    Drain();
  }

  static void Drain() {
    SDL_PumpEvents();
    for (int guard = 0; guard < 1000; ++guard) {
      SDL_Event peek;
      if (SDL_PeepEvents(&peek, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) <= 0) return;
      PumpMessage();
    }
  }
  void Push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1); }
  uint32_t Id() const { return GetPlatformWindowId(&window); }

  // Pointer events through the window; buttons held stay in `held`.
  void Move(float x, float y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = Id();
    e.motion.state = held;
    e.motion.x = static_cast<int32_t>(x);
    e.motion.y = static_cast<int32_t>(y);
    Push(e);
    Drain();
  }
  void Button(uint32_t type, float x, float y, uint8_t button = SDL_BUTTON_LEFT) {
    SDL_Event e{};
    e.type = type;
    e.button.windowID = Id();
    e.button.button = button;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = static_cast<int32_t>(x);
    e.button.y = static_cast<int32_t>(y);
    if (type == SDL_MOUSEBUTTONDOWN) {
      held |= SDL_BUTTON(button);
    } else {
      held &= ~SDL_BUTTON(button);
    }
    Push(e);
    Drain();
  }
  void Press(const C_Vector2D& at) {
    Move(at.X, at.Y);
    Button(SDL_MOUSEBUTTONDOWN, at.X, at.Y);
  }
  void Release(const C_Vector2D& at) { Button(SDL_MOUSEBUTTONUP, at.X, at.Y); }
  void Click(const C_Widget* w) {
    const C_Vector2D at = Centre(w);
    Press(at);
    Release(at);
  }
  void Drag(const C_Vector2D& from, const C_Vector2D& to) {
    Press(from);
    Move(to.X, to.Y);
    Release(to);
  }
  // A key with its character, as a keyboard gives them.
  void Key(SDL_Keycode key, const char* text = nullptr) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.windowID = Id();
    e.key.state = SDL_PRESSED;
    e.key.keysym.sym = key;
    Push(e);
    if (text) {
      SDL_Event t{};
      t.type = SDL_TEXTINPUT;
      t.text.windowID = Id();
      SDL_strlcpy(t.text.text, text, sizeof t.text.text);
      Push(t);
    }
    Drain();
  }
  void Type(const char* text) {
    for (const char* c = text; *c; ++c) {
      const char one[2] = {*c, 0};
      Key(*c == ' ' ? SDLK_SPACE : static_cast<SDL_Keycode>(*c), one);
    }
  }
  // One timer tick at time t with the pointer at (x, y).
  void Tick(double t, const C_Vector2D& at) {
    TestNow() = t;
    window.FrameworkHandlers.Timer(&window, held & SDL_BUTTON_LMASK ? 1 : 0, 0, 0,
                                   static_cast<int32_t>(at.X), static_cast<int32_t>(at.Y));
  }
  // A layout (unless told not to) and a paint into the back buffer.
  const C_Image& PaintScreen(bool layOutFirst = true) {
    api.BeginDraw();
    const C_Color backdrop(0.2f, 0.4f, 0.3f, 1);
    api.Clear(&backdrop);
    if (layOutFirst) desktop.Layout();
    desktop.Paint();
    api.EndDraw();
    return *api.Target->FindImage(1);
  }

  C_ScrollBar* Bar(C_Widget* composite, uint16_t part, uint16_t kind) {
    return dynamic_cast<C_ScrollBar*>(composite->FindPart(part, kind));
  }
  C_Widget* TextArea() { return gallery.TextBox->FindPart(PartTextArea, KindPlain); }
  C_Layer_Text* TextLayer() { return TextArea()->FindTextLayer(); }
  C_Widget* Frame(C_Form* form, uint16_t part) { return form->FindPart(part, KindPlain); }
  C_Widget* CaptionButton(C_Form* form, uint16_t frame, uint16_t command) {
    C_Widget* f = Frame(form, frame);
    return f ? f->FindPart(command, KindButton) : nullptr;
  }

  C_Window window;
  C_GraphicApi api;
  std::unique_ptr<C_Font> font;
  C_Collection fonts;
  C_Desktop desktop;
  Gallery gallery;
  uint32_t held = 0;
};

}  // namespace desktop_test
