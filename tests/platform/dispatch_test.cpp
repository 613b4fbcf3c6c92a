// Messages to handler calls: one event per pump, framework before application,
// mouse states from the events, keys and characters, size, close, quit and timer.
#include <string>
#include <vector>

#include "platform/draw_owner.h"
#include "window_fixture.h"

namespace {

std::string Mouse(const char* name, int32_t l, int32_t m, int32_t r, int32_t x, int32_t y) {
  return std::string(name) + " " + std::to_string(l) + std::to_string(m) + std::to_string(r) + " " +
         std::to_string(x) + "," + std::to_string(y);
}

void OnButtonDown(C_Window*, int32_t l, int32_t m, int32_t r, int32_t x, int32_t y) {
  CallLog().push_back(Mouse("Down", l, m, r, x, y));
}
void OnMouseMove(C_Window*, int32_t l, int32_t m, int32_t r, int32_t x, int32_t y) {
  CallLog().push_back(Mouse("Move", l, m, r, x, y));
}
void OnButtonUp(C_Window*, int32_t l, int32_t m, int32_t r, int32_t x, int32_t y) {
  CallLog().push_back(Mouse("Up", l, m, r, x, y));
}
void OnTimer(C_Window*, int32_t l, int32_t m, int32_t r, int32_t x, int32_t y) {
  CallLog().push_back(Mouse("Timer", l, m, r, x, y));
}
void OnClick(C_Window*, int32_t button) {
  CallLog().push_back("Click " + std::to_string(button));
}
void OnFrameworkClick(C_Window*, int32_t button) {
  CallLog().push_back("fw:Click " + std::to_string(button));
}
void OnKeyDown(C_Window*, int32_t c, int32_t vk) {
  CallLog().push_back("KeyDown " + std::to_string(c) + " " + std::to_string(vk));
}
void OnKeyUp(C_Window*, int32_t c, int32_t vk) {
  CallLog().push_back("KeyUp " + std::to_string(c) + " " + std::to_string(vk));
}
void OnClose(C_Window*) {
  CallLog().push_back("Close");
}
void OnFrameworkClose(C_Window*) {
  CallLog().push_back("fw:Close");
}
void OnSize(C_Window* w) {
  CallLog().push_back("Size " +
                      std::to_string(static_cast<int>(w->Owner.Area.X2 - w->Owner.Area.X1)));
}
void OnAfterSize(C_Window*) {
  CallLog().push_back("AfterSize");
}
void OnResize(DrawOwner*) {
  CallLog().push_back("resize");
}
void OnRepaint(DrawOwner*) {
  CallLog().push_back("repaint");
}
void OnFocusGained(C_Window* w) {
  CallLog().push_back("Focus " + std::to_string(w->Owner.Active));
}
void OnFocusLost(C_Window* w) {
  CallLog().push_back("Blur " + std::to_string(w->Owner.Active));
}
void OnActivate(C_Window*) {
  CallLog().push_back("Activate");
}
void OnDeactivate(C_Window*) {
  CallLog().push_back("Deactivate");
}

class DispatchTest : public WindowTest {
 protected:
  void Push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1); }

  void PushButton(uint32_t type, uint8_t button, int32_t x, int32_t y) {
    SDL_Event e{};
    e.type = type;
    e.button.windowID = GetPlatformWindowId(&window);
    e.button.button = button;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = x;
    e.button.y = y;
    Push(e);
  }
  void PushMotion(uint32_t state, int32_t x, int32_t y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = GetPlatformWindowId(&window);
    e.motion.state = state;
    e.motion.x = x;
    e.motion.y = y;
    Push(e);
  }
  void PushKey(uint32_t type, SDL_Keycode key, uint16_t mod = KMOD_NONE) {
    SDL_Event e{};
    e.type = type;
    e.key.windowID = GetPlatformWindowId(&window);
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = key;
    e.key.keysym.mod = mod;
    Push(e);
  }
  void PushText(const char* text) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    e.text.windowID = GetPlatformWindowId(&window);
    SDL_strlcpy(e.text.text, text, sizeof e.text.text);
    Push(e);
  }
  void PushWindowEvent(uint8_t what, int32_t data1 = 0, int32_t data2 = 0) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = GetPlatformWindowId(&window);
    e.window.event = what;
    e.window.data1 = data1;
    e.window.data2 = data2;
    Push(e);
  }
  // Pumps n times and checks that each pump took exactly one queued event.
  void PumpEach(uint32_t n) {
    for (uint32_t i = 0; i < n; ++i) {
      const uint32_t queued = QueuedEvents();
      ASSERT_TRUE(PumpMessage());
      ASSERT_EQ(QueuedEvents(), queued - 1) << "pump " << i;
    }
  }
};

TEST_F(DispatchTest, PressDragReleaseGivesRealStatesThenClick) {
  window.Handlers.ButtonDown = OnButtonDown;
  window.Handlers.MouseMove = OnMouseMove;
  window.Handlers.ButtonUp = OnButtonUp;
  window.Handlers.Click = OnClick;
  window.FrameworkHandlers.Click = OnFrameworkClick;
  OpenWindow();

  PushMotion(0, 5, 6);
  PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 20);
  PushMotion(SDL_BUTTON_LMASK, 30, 40);
  PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 31, 41);
  PushMotion(SDL_BUTTON_LMASK | SDL_BUTTON_RMASK, 32, 42);
  PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 33, 43);
  PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 34, 44);
  PumpEach(7);
  EXPECT_EQ(CallLog(), (std::vector<std::string>{"Move 000 5,6", "Down 100 10,20", "Move 100 30,40",
                                                 "Down 101 31,41", "Move 101 32,42", "Up 100 33,43",
                                                 "fw:Click 1", "Click 1", "Up 001 34,44",
                                                 "fw:Click 3", "Click 3"}));
  EXPECT_EQ(window.Captured, 0.0f);
  EXPECT_EQ(window.LastLeft, 1.0f);
  EXPECT_EQ(window.LastRight, 1.0f);
}

TEST_F(DispatchTest, DragWithoutCaptureAndReleaseWithoutPressAreIgnored) {
  window.Handlers.MouseMove = OnMouseMove;
  window.Handlers.ButtonUp = OnButtonUp;
  window.Handlers.Click = OnClick;
  OpenWindow();
  PushMotion(SDL_BUTTON_MMASK, 1, 2);  // a button held down that was pressed elsewhere
  PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 1, 2);
  PushButton(SDL_MOUSEBUTTONDOWN, 4, 1, 2);  // a fourth button is not one of the three
  PumpEach(3);
  EXPECT_TRUE(CallLog().empty());
  EXPECT_EQ(window.LastMiddle, 1.0f);
  EXPECT_EQ(window.Captured, 0.0f);
}

TEST_F(DispatchTest, KeysPairWithTheirCharacters) {
  window.Handlers.KeyDown = OnKeyDown;
  window.Handlers.KeyUp = OnKeyUp;
  OpenWindow();
  PushKey(SDL_KEYDOWN, SDLK_a, KMOD_LSHIFT);
  PushText("A");
  PushKey(SDL_KEYUP, SDLK_a, KMOD_LSHIFT);
  PushKey(SDL_KEYDOWN, SDLK_e);
  PushText("\xC3\xA9");  // e acute arrives as UTF-8, reaches the handler as 233
  PushKey(SDL_KEYDOWN, SDLK_ESCAPE);
  PushKey(SDL_KEYUP, SDLK_ESCAPE);
  PushKey(SDL_KEYDOWN, SDLK_c, KMOD_LCTRL);
  PushKey(SDL_KEYDOWN, SDLK_RETURN);
  PushKey(SDL_KEYDOWN, SDLK_BACKSPACE);
  PushKey(SDL_KEYDOWN, SDLK_TAB);
  PushKey(SDL_KEYDOWN, SDLK_DELETE);
  PushKey(SDL_KEYDOWN, SDLK_LEFT);
  PushKey(SDL_KEYUP, SDLK_q);
  // A key pressed with its text pending takes it away in the same pump.
  for (int i = 0; i < 12; ++i) ASSERT_TRUE(PumpMessage());
  EXPECT_EQ(QueuedEvents(), 0u);
  EXPECT_EQ(CallLog(), (std::vector<std::string>{"KeyDown 65 65", "KeyUp 65 65", "KeyDown 233 69",
                                                 "KeyDown 27 27", "KeyUp 27 27", "KeyDown 3 67",
                                                 "KeyDown 13 13", "KeyDown 8 8", "KeyDown 9 9",
                                                 "KeyDown 0 46", "KeyDown 0 37", "KeyUp 113 81"}));
}

TEST_F(DispatchTest, TextOfAnotherEventIsNotTaken) {
  window.Handlers.KeyDown = OnKeyDown;
  OpenWindow();
  PushKey(SDL_KEYDOWN, SDLK_x);
  PushMotion(0, 1, 1);
  PushText("y");
  PumpEach(3);  // the text stays queued behind the motion and is then dropped alone
  EXPECT_EQ(CallLog(), (std::vector<std::string>{"KeyDown 120 88"}));
}

TEST_F(DispatchTest, CloseRequestOnlyCallsHandlers) {
  window.Handlers.Close = OnClose;
  window.FrameworkHandlers.Close = OnFrameworkClose;
  OpenWindow();
  PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
  PumpEach(1);
  EXPECT_EQ(CallLog(), (std::vector<std::string>{"fw:Close", "Close"}));
  EXPECT_EQ(window.Opened, 1);
  EXPECT_NE(SDL_GetWindowFromID(GetPlatformWindowId(&window)), nullptr);
  // Even for the last window, the close request is not the quit message.
  EXPECT_TRUE(PumpMessage());
}

TEST_F(DispatchTest, SizeChangeRunsTheSequenceInOrder) {
  window.Handlers.Size = OnSize;
  window.Handlers.AfterSize = OnAfterSize;
  OpenWindow();
  window.Owner.ResizeHandler = OnResize;
  window.Owner.RepaintHandler = OnRepaint;
  SDL_SetWindowSize(Handle(), 400, 300);
  DrainEvents();
  EXPECT_EQ(CallLog(), (std::vector<std::string>{"Size 400", "resize", "AfterSize", "repaint"}));
  EXPECT_EQ(window.Owner.Area.Y2 - window.Owner.Area.Y1, 300.0f);
}

TEST_F(DispatchTest, FocusSetsActiveBeforeTheHandlers) {
  window.Handlers.FocusGained = OnFocusGained;
  window.Handlers.FocusLost = OnFocusLost;
  window.Handlers.Activate = OnActivate;
  window.Handlers.Deactivate = OnDeactivate;
  OpenWindow();
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
  PumpEach(2);
  EXPECT_EQ(CallLog(), (std::vector<std::string>{"Deactivate", "Blur 0", "Activate", "Focus 1"}));
}

TEST_F(DispatchTest, DisabledWindowDropsInput) {
  window.Handlers.ButtonDown = OnButtonDown;
  window.Handlers.KeyDown = OnKeyDown;
  window.Handlers.Close = OnClose;
  OpenWindow();
  window.Enabled = 0;
  window.Update(UpdateEnabled);
  PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 1);
  PushKey(SDL_KEYDOWN, SDLK_a);
  PushText("a");
  PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
  DrainEvents();
  EXPECT_EQ(CallLog(), (std::vector<std::string>{"Close"}));
  window.Enabled = 1;
  window.Update(UpdateEnabled);
  PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 1);
  DrainEvents();
  EXPECT_EQ(CallLog().back(), "Down 100 1,1");
}

TEST_F(DispatchTest, QuitMessageEndsThePumpAfterEarlierMessages) {
  window.Handlers.Close = OnClose;
  OpenWindow();
  PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
  PostQuitMessage(7);
  EXPECT_EQ(QuitExitCode(), 7);
  EXPECT_TRUE(PumpMessage());
  EXPECT_FALSE(PumpMessage());
  EXPECT_EQ(CallLog(), (std::vector<std::string>{"Close"}));
}

TEST_F(DispatchTest, TimerTicksOnlyWhenIdle) {
  window.Handlers.Timer = OnTimer;
  window.Handlers.ButtonDown = OnButtonDown;
  OpenWindow();
  SDL_Delay(2);
  PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 7, 8);
  ASSERT_TRUE(PumpMessage());
  ASSERT_EQ(CallLog().size(), 1u);  // the pending press goes first
  ASSERT_TRUE(PumpMessage());
  ASSERT_EQ(CallLog().size(), 2u);
  EXPECT_EQ(CallLog()[1], "Timer 010 7,8");
  ASSERT_TRUE(PumpMessage());  // within the same millisecond nothing is due
  const size_t ticks = CallLog().size();
  EXPECT_LE(ticks, 3u);
  SDL_Delay(2);
  ASSERT_TRUE(PumpMessage());
  EXPECT_EQ(CallLog().size(), ticks + 1);
  window.Close();
  SDL_Delay(2);
  ASSERT_TRUE(PumpMessage());  // a closed window's timer has stopped
  EXPECT_EQ(CallLog().size(), ticks + 1);
}

TEST_F(DispatchTest, EventsOfAClosedWindowFindNobody) {
  window.Handlers.ButtonDown = OnButtonDown;
  OpenWindow();
  PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 1);
  window.Close();
  DrainEvents();
  EXPECT_TRUE(CallLog().empty());
}

}  // namespace
