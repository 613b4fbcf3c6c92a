// C_Window defaults, opening and closing, the screen rectangle and Update codes.
#include <string>
#include <vector>

#include "core/class_registry.h"
#include "core/random.h"
#include "window_fixture.h"

namespace {

TEST(WindowDefaults, FieldsAfterConstruction) {
  C_Window w;
  EXPECT_TRUE(w.Name.Equals("No name"));
  EXPECT_TRUE(w.Caption.Equals("Form window"));
  EXPECT_EQ(w.Placement.X1, 0.0f);
  EXPECT_EQ(w.Placement.X2, 640.0f);
  EXPECT_EQ(w.Placement.Y2, 480.0f);
  EXPECT_EQ(w.Placement.Anchor1, 0);
  EXPECT_EQ(w.Colors[0].SystemIndex, 2);
  EXPECT_EQ(w.Colors[1].SystemIndex, 15);
  EXPECT_EQ(w.Colors[2].SystemIndex, 15);
  EXPECT_EQ(w.Movable + w.Resizable + w.Enabled + w.Visible + w.Flag1 + w.Flag2, 6);
  EXPECT_EQ(w.Borderless, 0);
  EXPECT_EQ(w.TopMost, 0);
  EXPECT_EQ(w.CursorCode, 65);
  ASSERT_NE(w.PresentImage, nullptr);
  EXPECT_EQ(w.PresentImage->Pixels, nullptr);
  ASSERT_NE(w.Children, nullptr);
  EXPECT_EQ(w.Children->Count, 0u);
  EXPECT_EQ(w.Opened, 0);
  EXPECT_EQ(w.Owner.Window, &w);
  EXPECT_EQ(w.Owner.Active, 0);
  EXPECT_EQ(w.GetClassId(), 26);
  EXPECT_EQ(GetPlatformWindowId(&w), 0u);
  // The window is not in the registry: id 26 still makes the pointer holder.
  C_Object* made = CreateObject(26);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(dynamic_cast<C_Window*>(made), nullptr);
  delete made;
}

TEST_F(WindowTest, UpdateBeforeOpenChangesNothingAndOpenAppliesAll) {
  window.Caption.Assign(C_String("First title"));
  window.Update(UpdateCaption);
  window.Update(UpdateRectangle);
  EXPECT_EQ(window.ScreenRect.X2, 0.0f);  // the rectangle is computed only once open
  EXPECT_EQ(GetPlatformWindowId(&window), 0u);

  OpenWindow();
  EXPECT_STREQ(SDL_GetWindowTitle(Handle()), "First title");
  window.Caption.Assign(C_String("Caf\xE9"));  // single-byte text reaches SDL as UTF-8
  window.Update(UpdateCaption);
  EXPECT_STREQ(SDL_GetWindowTitle(Handle()), "Caf\xC3\xA9");

  window.Visible = 0;
  window.Update(UpdateVisibility);
  EXPECT_TRUE(SDL_GetWindowFlags(Handle()) & SDL_WINDOW_HIDDEN);
  window.Visible = 1;
  window.Caption.Assign(C_String("All"));
  window.Placement = C_Rect(30, 40, 130, 90);
  window.Update(UpdateAll);
  EXPECT_FALSE(SDL_GetWindowFlags(Handle()) & SDL_WINDOW_HIDDEN);
  EXPECT_STREQ(SDL_GetWindowTitle(Handle()), "All");
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  SDL_GetWindowPosition(Handle(), &x, &y);
  SDL_GetWindowSize(Handle(), &w, &h);
  EXPECT_EQ(x, 30);  // the dummy driver reports no frame
  EXPECT_EQ(y, 40);
  EXPECT_EQ(w, 100);
  EXPECT_EQ(h, 50);
  window.Update(9999);  // unknown codes do nothing
}

TEST_F(WindowTest, OpenDrawsTwoRandomValuesAndSetsState) {
  // The process source is shared, so find its position by replaying it: the
  // draws just before and just after Open must be three apart.
  const int32_t before = Random();
  OpenWindow();
  const int32_t after = Random();
  RandomSource replay;
  std::vector<int32_t> seq;
  bool found = false;
  for (int32_t n = 0; n < 1000000 && !found; ++n) {
    seq.push_back(replay.Next());
    found = n >= 3 && seq[n - 3] == before && seq[n] == after;
  }
  ASSERT_TRUE(found);
  const size_t n = seq.size() - 1;
  const int32_t expected = seq[n - 2] + seq[n - 1];
  EXPECT_TRUE(window.ClassName.Equals(std::to_string(expected).c_str()));
  EXPECT_EQ(window.Owner.Active, 1);
  EXPECT_NE(GetPlatformWindowId(&window), 0u);

  // A second Open while open does nothing.
  const uint32_t id = GetPlatformWindowId(&window);
  window.Open();
  EXPECT_EQ(GetPlatformWindowId(&window), id);

  window.Close();
  EXPECT_EQ(window.Opened, 0);
  EXPECT_EQ(GetPlatformWindowId(&window), 0u);
  EXPECT_EQ(SDL_GetWindowFromID(id), nullptr);
  window.Close();  // closing twice is harmless
  window.Update(UpdateCaption);
}

TEST_F(WindowTest, FramedWindowGetsExactClientArea) {
  window.Placement = C_Rect(0, 0, 530, 650);
  window.Open();
  ASSERT_EQ(window.Opened, 1);
  int w = 0;
  int h = 0;
  SDL_GetWindowSize(Handle(), &w, &h);
  EXPECT_EQ(w, 530);
  EXPECT_EQ(h, 650);
  window.Update(UpdateClientArea);
  EXPECT_EQ(window.Owner.Area.X2 - window.Owner.Area.X1, 530.0f);
  EXPECT_EQ(window.Owner.Area.Y2 - window.Owner.Area.Y1, 650.0f);
  const C_Rect client = GetClientScreenRect(&window);
  EXPECT_EQ(client.X2 - client.X1, 530.0f);
  EXPECT_EQ(client.Y2 - client.Y1, 650.0f);
  EXPECT_EQ(client.X1, window.Owner.Area.X1);
}

TEST_F(WindowTest, ScreenRectAnchors) {
  SDL_InitSubSystem(SDL_INIT_VIDEO);
  SDL_Rect screen;
  ASSERT_EQ(SDL_GetDisplayBounds(0, &screen), 0);
  const float halfW = static_cast<float>(screen.w / 2);
  const float halfH = static_cast<float>(screen.h / 2);

  window.Placement = C_Rect(10.0f, 20.0f, 300.0f, 200.0f, 0x22, 0x33);
  window.ComputeScreenRect();
  EXPECT_EQ(window.ScreenRect.X1, halfW + 10);
  EXPECT_EQ(window.ScreenRect.Y1, halfH + 20);
  EXPECT_EQ(window.ScreenRect.X2, halfW + 310);
  EXPECT_EQ(window.ScreenRect.Y2, halfH + 220);

  // Code 1 measures inwards from the right and bottom edges; 2 on the second
  // corner from the centre.
  window.Placement = C_Rect(10.0f, 20.0f, 30.0f, 40.0f, 0x11, 0x22);
  window.ComputeScreenRect();
  EXPECT_EQ(window.ScreenRect.X1, screen.w - 10.0f);
  EXPECT_EQ(window.ScreenRect.Y1, screen.h - 20.0f);
  EXPECT_EQ(window.ScreenRect.X2, halfW + 30);
  EXPECT_EQ(window.ScreenRect.Y2, halfH + 40);

  // Other codes leave the edges as they were; second corner code 1 from the edges.
  window.Placement = C_Rect(1.0f, 2.0f, 3.0f, 4.0f, 0x44, 0x11);
  window.ComputeScreenRect();
  EXPECT_EQ(window.ScreenRect.X1, screen.w - 10.0f);
  EXPECT_EQ(window.ScreenRect.Y1, screen.h - 20.0f);
  EXPECT_EQ(window.ScreenRect.X2, screen.w - 3.0f);
  EXPECT_EQ(window.ScreenRect.Y2, screen.h - 4.0f);

  // A child window's rectangle is the caller's.
  C_Window parent;
  window.ParentWindow = &parent;
  window.ScreenRect = C_Rect(5, 6, 7, 8);
  window.ComputeScreenRect();
  EXPECT_EQ(window.ScreenRect.X1, 5.0f);
  EXPECT_EQ(window.ScreenRect.Y2, 8.0f);
  window.ParentWindow = nullptr;
}

TEST_F(WindowTest, DestroyingAnOpenWindowClosesIt) {
  uint32_t id = 0;
  {
    C_Window local;
    local.Open();
    ASSERT_EQ(local.Opened, 1);
    id = GetPlatformWindowId(&local);
  }
  EXPECT_EQ(SDL_GetWindowFromID(id), nullptr);
  DrainEvents();  // events of the destroyed window find nobody
}

// Create fires at the end of Open and Destroy in Close, framework first.
void LogCreate(C_Window*) {
  CallLog().push_back("Create");
}
void LogDestroy(C_Window*) {
  CallLog().push_back("Destroy");
}
void LogFrameworkDestroy(C_Window*) {
  CallLog().push_back("fw:Destroy");
}

TEST_F(WindowTest, CreateAndDestroyHandlers) {
  window.Handlers.Create = LogCreate;
  window.Handlers.Destroy = LogDestroy;
  window.FrameworkHandlers.Destroy = LogFrameworkDestroy;
  window.Open();
  window.Close();
  EXPECT_EQ(CallLog(), (std::vector<std::string>{"Create", "fw:Destroy", "Destroy"}));
}

TEST_F(WindowTest, ChildWindowOpensOverItsParent) {
  OpenWindow();
  C_Window child;
  child.ParentWindow = &window;
  child.ScreenRect = C_Rect(5, 6, 105, 56);
  child.Open();
  ASSERT_EQ(child.Opened, 1);
  const C_Rect parentClient = GetClientScreenRect(&window);
  const C_Rect childClient = GetClientScreenRect(&child);
  EXPECT_EQ(childClient.X1, parentClient.X1 + 5);
  EXPECT_EQ(childClient.Y1, parentClient.Y1 + 6);
  EXPECT_EQ(childClient.X2 - childClient.X1, 100.0f);
  child.Close();
}

}  // namespace
