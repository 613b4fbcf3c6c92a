// The paint pass's choices (decal slot by state and activation, unprepared
// widgets, widths that follow their content, the clip kept around the passes),
// the hooks the desktop calls, and the desktop's stored form.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/byte_stream.h"
#include "core/string.h"
#include "graphics/geometry/anchor.h"
#include "tests/skin/skin_test_support.h"
#include "tests/widget/desktop_test_support.h"

namespace {

using desktop_test::Centre;
using desktop_test::DesktopTest;

C_Decal* Solid(const C_Color& color) {
  auto* layer = new C_Layer_Rect();
  layer->Area = C_Rect(0, 0, 0, 0, 0x00, 0x11);
  layer->FillColor = layer->BorderColor = color;
  layer->FillSource = layer->BorderSource = kColorSourceOwn;
  auto* decal = new C_Decal();
  decal->Layers = new C_Collection();
  decal->Layers->Append(layer);
  return decal;
}

constexpr uint32_t kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kBlue = 0xFF0000FFu;

class PaintTest : public DesktopTest {
 protected:
  // A 40 x 40 widget at (700, 500) with red, green and blue decals in slots 0, 1
  // and 3 and none in slot 4, and a white child.
  void AddProbe() {
    probe = new C_Widget();
    probe->Setup(SizedRect(700, 500, 40, 40), "probe", "");
    probe->ClientRect = C_Rect(0, 0, 0, 0, 0x00, 0x11);
    probe->Decals[SlotNormal] = Solid(C_Color(1, 0, 0, 1));
    probe->Decals[SlotActive] = Solid(C_Color(0, 1, 0, 1));
    probe->Decals[SlotPressed] = Solid(C_Color(0, 0, 1, 1));
    child = new C_Widget();
    child->Setup(SizedRect(30, 30, 5, 5), "child", "");
    child->Decals[SlotNormal] = Solid(C_Color(1, 1, 1, 1));
    ASSERT_TRUE(probe->AddChild(child));
    ASSERT_TRUE(desktop.Root->AddChild(probe));
    desktop.PrepareAll();
  }
  uint32_t At(int32_t x, int32_t y) {
    const C_Image& image = PaintScreen();
    return reinterpret_cast<const uint32_t*>(image.RowAddress(y))[x] | 0xFF000000u;
  }

  C_Widget* probe = nullptr;
  C_Widget* child = nullptr;
};

TEST_F(PaintTest, TheDecalFollowsStateAndActivation) {
  AddProbe();
  struct Case {
    uint32_t state;
    uint8_t windowActive;
    bool activeChild;
    uint32_t colour;
  };
  const Case cases[] = {
      {StateNormal, 1, true, kGreen},  // an active widget shows slot 1
      {StateNormal, 0, true, kRed},    // not while its window is inactive
      {StateNormal, 1, false, kRed},   // nor when another sibling is the active one
      {StatePressed, 1, true, kBlue},  // pressed: slot 3
      {StateHovered, 1, true, kRed},   // hovered without a slot-4 decal: slot 0
      {StateHovered, 0, false, kRed},  //
  };
  for (const Case& c : cases) {
    probe->State = c.state;
    window.Owner.Active = c.windowActive;
    desktop.Root->ActiveChild = c.activeChild ? probe : gallery.Form;
    EXPECT_EQ(At(710, 510), c.colour) << c.state << " " << int(c.windowActive) << c.activeChild;
    EXPECT_EQ(At(732, 532), 0xFFFFFFFFu);  // the child on top
  }
}

TEST_F(PaintTest, AnUnpreparedWidgetDrawsNothingAndNeitherDoItsChildren) {
  AddProbe();
  const uint32_t backdrop = At(5, 5);
  probe->Prepared = 0;
  EXPECT_EQ(At(710, 510), backdrop);
  EXPECT_EQ(At(732, 532), backdrop);
  probe->Prepared = 1;
  probe->Visible = 0;
  EXPECT_EQ(At(710, 510), backdrop);
  EXPECT_EQ(At(732, 532), backdrop);
}

TEST_F(PaintTest, AWidthThatFollowsItsContentGrowsWithItsText) {
  C_Widget* label = MakeWidget(TemplateButton, "Boxes", SizedRect(600, 560, 4, 20), "label", "abc");
  label->Rect.Anchor2 = MakeAnchor(AnchorExtentAlt, AnchorExtent);
  C_Layer_Text* text = label->FindTextLayer();
  ASSERT_NE(text, nullptr);
  text->GrowContent = 1;
  text->Format.Align = AlignLeft;
  ASSERT_TRUE(desktop.Root->AddChild(label));
  desktop.PrepareAll();
  struct Case {
    const char* text;
    float width;
  };
  // Six pixels a letter, from the text's left edge; then the base width of 4.
  const Case cases[] = {{"abc", 18 + 4}, {"abcdefgh", 48 + 4}, {"a", 6 + 4}};
  for (const Case& c : cases) {
    label->SetText(c.text);
    PaintScreen();
    EXPECT_EQ(label->Rect.X2, c.width) << c.text;
    EXPECT_EQ(label->ContentExtent.X2 - label->ContentExtent.X1, c.width - 4) << c.text;
  }
}

// A page of three nested widgets and nothing else: no composite's update lays the
// tree out during the preparation.
class NestedPaintTest : public PaintTest {
 protected:
  void Populate() override {
    desktop.BindResources();
    desktop.CreatePage();
    panel = new C_Widget();
    panel->Setup(SizedRect(200, 100, 200, 150), "panel", "");
    panel->ClientRect = C_Rect(10, 10, -10, -10, 0x00, 0x11);
    panel->Decals[SlotNormal] = Solid(C_Color(1, 0, 0, 1));
    box = new C_Widget();
    box->Setup(SizedRect(20, 20, 100, 80), "box", "");
    box->ClientRect = C_Rect(0, 0, 0, 0, 0x00, 0x11);
    box->Decals[SlotNormal] = Solid(C_Color(0, 1, 0, 1));
    inner = new C_Widget();
    inner->Setup(SizedRect(10, 10, 30, 30), "inner", "");
    inner->Decals[SlotNormal] = Solid(C_Color(1, 1, 1, 1));
    ASSERT_TRUE(box->AddChild(inner));
    ASSERT_TRUE(panel->AddChild(box));
    ASSERT_TRUE(desktop.Root->AddChild(panel));
  }
  // The back buffer after a paint with no layout before it.
  std::vector<uint32_t> PaintOnly() {
    const C_Image& image = PaintScreen(false);
    const auto* pixels = reinterpret_cast<const uint32_t*>(image.Pixels);
    return std::vector<uint32_t>(pixels, pixels + image.Width * image.Height);
  }
  C_Widget* panel = nullptr;
  C_Widget* box = nullptr;
  C_Widget* inner = nullptr;
};

TEST_F(NestedPaintTest, APaintRightAfterThePreparationClipsEveryLevelInPlace) {
  desktop.UnprepareAll();
  desktop.PrepareAll();
  const std::vector<uint32_t> prepared = PaintOnly();
  desktop.Layout();
  EXPECT_TRUE(PaintOnly() == prepared);
  // The panel's client area starts at (210, 110), the box 20 pixels into it and
  // the inner widget 10 pixels into the box.
  // The buffer is bottom-up, its rows packed: row y lies at 599 - y.
  const auto at = [&](int32_t x, int32_t y) { return prepared[(599 - y) * 800 + x] | 0xFF000000u; };
  EXPECT_EQ(at(205, 105), kRed);
  EXPECT_EQ(at(235, 135), kGreen);
  EXPECT_EQ(at(255, 155), 0xFFFFFFFFu);
  EXPECT_EQ(at(275, 175), kGreen);
}

TEST_F(PaintTest, ThePassesKeepTheInterfacesOwnClip) {
  api.BeginDraw();
  const C_Rect clip(10, 20, 300, 400, 0, 0);
  api.SetClip(&clip);
  desktop.Layout();
  desktop.HitTest(C_Vector2D(50, 50));
  desktop.Paint();
  ASSERT_NE(api.UserClip, nullptr);
  EXPECT_EQ(api.UserClip->X1, 10);
  EXPECT_EQ(api.UserClip->Y2, 400);
  api.ResetClip();
  desktop.Paint();
  EXPECT_EQ(api.UserClip, nullptr);
  api.EndDraw();
  // The lock is free after every pass.
  EXPECT_EQ(desktop.Lock.load(), 0);
}

std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}
std::string NameOf(const C_Widget* w) {
  return w->Name.c_str();
}
void OnScroll(C_ScrollBar* bar) {
  Log().push_back("scroll " + std::to_string(bar->PartId) + " " +
                  std::to_string(static_cast<int>(bar->Value)));
}
void OnMoved(C_Widget* w, const C_Rect& r) {
  Log().push_back("moved " + NameOf(w) + " " + std::to_string(static_cast<int>(r.X1)));
}
void OnDrag(C_Widget* w, int32_t l, int32_t, int32_t, float x, float) {
  Log().push_back("drag " + NameOf(w) + " " + std::to_string(l) + " " +
                  std::to_string(static_cast<int>(x)));
}
void OnMouseUp(C_Widget* w, int32_t l, int32_t, int32_t, float, float) {
  Log().push_back("up " + NameOf(w) + " " + std::to_string(l));
}
std::map<const C_Widget*, int>& Counts() {
  static std::map<const C_Widget*, int> counts;
  return counts;
}
void CountUpdate(C_Widget* w) {
  ++Counts()[w];
}

TEST_F(DesktopTest, HooksAreCalledWithTheWidgetConcerned) {
  Log().clear();
  desktop.Hooks.OnScroll = OnScroll;
  desktop.Hooks.OnMoved = OnMoved;
  desktop.Hooks.OnDrag = OnDrag;
  desktop.Hooks.OnMouseUp = OnMouseUp;
  C_ScrollBar* across = Bar(gallery.ScrollSpace, PartSpaceHScroll, KindHScrollBar);
  Click(across->FindPart(PartStepUp, KindButton));
  C_Widget* frame = Frame(gallery.Form, PartFrameNormal);
  const C_Vector2D caption(frame->Resolved.X1 + 60, frame->Resolved.Y1 + 8);
  Press(caption);
  Move(caption.X + 5, caption.Y);
  Release(C_Vector2D(caption.X + 5, caption.Y));
  // Every release runs the moved-widget update once more, a click's too; the arrow
  // has no name and sits 16 pixels left of its bar's right edge.
  const std::vector<std::string> expected = {
      "scroll 29 10",      "moved  -16",       "up  1",       "moved Gallery 25",
      "drag Gallery 1 65", "moved Gallery 25", "up Gallery 1"};
  EXPECT_EQ(Log(), expected);
}

TEST_F(DesktopTest, PreparationAndItsReversalCallTheirHooksOncePerWidget) {
  desktop.UnprepareAll();
  Counts().clear();
  desktop.Hooks.OnUpdate = CountUpdate;
  desktop.Hooks.OnUnprepare = CountUpdate;
  desktop.PrepareAll();
  ASSERT_FALSE(Counts().empty());
  // Once from the preparation, once from the update visit.
  for (const auto& [widget, count] : Counts()) EXPECT_EQ(count, 2) << NameOf(widget);
  const size_t widgets = Counts().size();
  Counts().clear();
  desktop.UnprepareAll();
  EXPECT_EQ(Counts().size(), widgets);
  for (const auto& [widget, count] : Counts()) EXPECT_EQ(count, 1);
}

TEST(DesktopRecord, StoredFormKeepsItsThreeOptionalObjects) {
  C_Desktop saved;
  saved.Stored[1] = new C_String("kept");
  const std::vector<uint8_t> bytes = skin_test::SaveBytes(saved);
  // Class id, version, a record, and two absent ones.
  ASSERT_GE(bytes.size(), 10u);
  EXPECT_EQ(bytes[0] | bytes[1] << 8, class_id::Desktop);
  EXPECT_EQ(bytes[2] | bytes[3] << 8, FormatVersion);
  C_Desktop loaded;
  ASSERT_TRUE(skin_test::LoadBytes(loaded, bytes));
  EXPECT_EQ(loaded.Stored[0], nullptr);
  ASSERT_NE(loaded.Stored[1], nullptr);
  EXPECT_TRUE(static_cast<C_String*>(loaded.Stored[1])->Equals("kept"));
  EXPECT_EQ(loaded.Stored[2], nullptr);
  // Cut short anywhere, loading fails without a crash.
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    C_Desktop partial;
    EXPECT_FALSE(
        skin_test::LoadBytes(partial, std::vector<uint8_t>(bytes.begin(), bytes.begin() + cut)))
        << cut;
  }
}

}  // namespace
