// Hooks that build the page again in the middle of an event, as a "reset" button
// of an application would: the desktop stops handling that event, never hands a
// hook a widget of the old tree, and goes on working with the new one.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "tests/widget/desktop_test_support.h"

namespace {

using desktop_test::Centre;
using desktop_test::DesktopTest;
using desktop_test::TestNow;

enum HookId { HookMouseDown, HookPress, HookDrag, HookMouseUp, HookRelease, HookScroll, HookMoved };

class ReplaceTest : public DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    current = this;
    Collect(desktop.Root);
    DesktopHooks& h = desktop.Hooks;
    h.OnMouseDown = [](C_Widget* w, int32_t, int32_t, int32_t, float, float) {
      current->Seen(HookMouseDown, w);
    };
    h.OnPress = [](C_Widget* w, int32_t) { current->Seen(HookPress, w); };
    h.OnDrag = [](C_Widget* w, int32_t, int32_t, int32_t, float, float) {
      current->Seen(HookDrag, w);
    };
    h.OnMouseUp = [](C_Widget* w, int32_t, int32_t, int32_t, float, float) {
      current->Seen(HookMouseUp, w);
    };
    h.OnRelease = [](C_Widget* w, int32_t) { current->Seen(HookRelease, w); };
    h.OnScroll = [](C_ScrollBar* bar) { current->Seen(HookScroll, bar); };
    h.OnMoved = [](C_Widget* w, const C_Rect&) { current->Seen(HookMoved, w); };
  }
  void TearDown() override {
    desktop.Hooks = DesktopHooks();
    DesktopTest::TearDown();
  }

  void Collect(const C_Widget* w) {
    if (!w) return;
    live.insert(w);
    for (uint32_t i = 0; i < w->ChildCount(); ++i) Collect(w->ChildAt(i));
  }
  // Every widget a hook gets must belong to the tree of the moment; the chosen
  // call of the chosen hook builds the page again.
  void Seen(HookId hook, const C_Widget* w) {
    if (!live.count(w)) stale.push_back(hook);
    if (hook != replaceIn || ++calls != replaceAtCall) return;
    desktop.CreatePage();
    gallery = BuildGallery(desktop, "Boxes");
    desktop.PrepareAll();
    live.clear();
    Collect(desktop.Root);
    ++replaced;
  }

  C_Widget* Arrow() {
    return Bar(gallery.ScrollSpace, PartSpaceHScroll, KindHScrollBar)
        ->FindPart(PartStepUp, KindButton);
  }
  C_Vector2D Caption() {
    const C_Widget* frame = Frame(gallery.Form, PartFrameNormal);
    return C_Vector2D(frame->Resolved.X1 + 60, frame->Resolved.Y1 + 8);
  }

  static inline ReplaceTest* current = nullptr;
  std::set<const C_Widget*> live;
  std::vector<int> stale;
  int replaceIn = -1, replaceAtCall = 1, calls = 0, replaced = 0;
};

TEST_F(ReplaceTest, AHookThatBuildsThePageAgainEndsTheEventSafely) {
  struct Case {
    const char* name;
    HookId hook;
    int call;
    std::function<void()> gesture;
  };
  const Case cases[] = {
      {"mouse down", HookMouseDown, 1, [&] { Click(gallery.Buttons[0]); }},
      {"press", HookPress, 1, [&] { Click(gallery.Buttons[0]); }},
      {"mouse up", HookMouseUp, 1, [&] { Click(gallery.Buttons[0]); }},
      {"release", HookRelease, 1, [&] { Click(gallery.Buttons[0]); }},
      {"scroll at the press", HookScroll, 1, [&] { Click(Arrow()); }},
      {"scroll on a repeat", HookScroll, 2,
       [&] {
         const C_Vector2D at = Centre(Arrow());
         Press(at);
         Tick(100.5, at);
         Tick(100.6, at);
         Release(at);
       }},
      {"scroll by the thumb", HookScroll, 1,
       [&] {
         const C_Vector2D at = Centre(Bar(gallery.ScrollSpace, PartSpaceHScroll, KindHScrollBar)
                                          ->FindPart(PartThumb, KindButton));
         Drag(at, C_Vector2D(at.X + 10, at.Y));
       }},
      {"moved by a drag", HookMoved, 1,
       [&] { Drag(Caption(), C_Vector2D(Caption().X + 5, Caption().Y)); }},
      {"drag", HookDrag, 1, [&] { Drag(Caption(), C_Vector2D(Caption().X + 5, Caption().Y)); }},
      {"moved by a restore", HookMoved, 1,
       [&] {
         desktop.RunFormCommand(gallery.Form, PartMinimise);
         desktop.Layout();
         Click(CaptionButton(gallery.Form, PartFrameMinimised, PartRestore));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestNow() = 100.0;
    replaceIn = c.hook;
    replaceAtCall = c.call;
    calls = replaced = 0;
    stale.clear();
    c.gesture();
    EXPECT_EQ(replaced, 1);
    EXPECT_TRUE(stale.empty()) << "first stale hook " << stale.front();
    EXPECT_EQ(desktop.Dragging, 0);
    // The new page answers as a new page does.
    replaceIn = -1;
    C_Widget* box = gallery.CheckBoxes[0];
    const uint8_t checked = box->Checked;
    Click(box);
    EXPECT_NE(box->Checked, checked);
    EXPECT_TRUE(stale.empty());
  }
}

}  // namespace
