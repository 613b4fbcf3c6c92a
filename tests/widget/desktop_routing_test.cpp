// Event routing through a real window: life cycle, hover and press looks, clicks
// on options and check boxes, the auto-repeat of a held arrow, paging and thumb
// dragging, drags with minimum sizes and limits, and hidden widgets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/widget/desktop_test_support.h"
#include "tests/widget/widget_test_support.h"

namespace {

using desktop_test::Centre;
using desktop_test::DesktopTest;

std::vector<std::string>& HookLog() {
  static std::vector<std::string> log;
  return log;
}
void LogPress(C_Widget* w, int32_t code) {
  HookLog().push_back("press " + std::string(w->Name.c_str()) + " " + std::to_string(code));
}
void LogRelease(C_Widget* w, int32_t code) {
  HookLog().push_back("release " + std::string(w->Name.c_str()) + " " + std::to_string(code));
}
void LogMouseDown(C_Widget* w, int32_t l, int32_t, int32_t, float x, float y) {
  HookLog().push_back("down " + std::string(w->Name.c_str()) + " " + std::to_string(l) + " " +
                      std::to_string(static_cast<int>(x)) + " " +
                      std::to_string(static_cast<int>(y)));
}

TEST_F(DesktopTest, LifeCycleInstallsHandlersPreparesEveryWidgetAndTakesItAllBack) {
  EXPECT_EQ(desktop.Status, DesktopResources);
  EXPECT_EQ(window.HandlerTarget, &desktop);
  EXPECT_EQ(DesktopOf(&window), &desktop);
  EXPECT_NE(window.FrameworkHandlers.KeyDown, nullptr);
  EXPECT_NE(window.FrameworkHandlers.Timer, nullptr);
  ASSERT_NE(desktop.Root, nullptr);
  EXPECT_TRUE(desktop.Root->Name.Equals("Gui Page"));
  // The root fills the back buffer.
  EXPECT_EQ(desktop.Root->Resolved.X2, 800);
  EXPECT_EQ(desktop.Root->Resolved.Y2, 600);
  std::vector<C_Widget*> all;
  struct Walk {
    static void Into(C_Widget* w, std::vector<C_Widget*>& out) {
      out.push_back(w);
      for (uint32_t i = 0; i < w->ChildCount(); ++i) Into(w->ChildAt(i), out);
    }
  };
  Walk::Into(desktop.Root, all);
  EXPECT_GT(all.size(), 50u);
  for (C_Widget* w : all) {
    EXPECT_EQ(w->Prepared, 1) << w->Name.c_str();
    ASSERT_NE(w->Api, nullptr) << w->Name.c_str();
    EXPECT_EQ(w->Api->State, ApiOpen);
  }
  desktop.UnprepareAll();
  for (C_Widget* w : all) {
    EXPECT_EQ(w->Prepared, 0);
    EXPECT_EQ(w->Api, nullptr);
  }
  // A fresh page replaces the old one; status stays.
  desktop.CreatePage();
  EXPECT_EQ(desktop.Root->ChildCount(), 0u);
  EXPECT_EQ(desktop.Status, DesktopResources);
}

TEST_F(DesktopTest, KeysAreIgnoredBeforeResourcesAreBound) {
  C_Desktop early;
  early.InstallHandlers(&api);
  EXPECT_EQ(early.Status, DesktopAttached);
  early.CreatePage();
  early.Focus = early.Root;
  early.KeyDown('a', 'A');
  EXPECT_EQ(early.Root->EditEvent, EditNone);
  early.BindResources();
  EXPECT_EQ(early.Status, DesktopResources);
  early.BindResources();  // a second call in the wrong state changes nothing
  EXPECT_EQ(early.Status, DesktopResources);
  window.HandlerTarget = &desktop;
}

TEST_F(DesktopTest, HoverPressAndReleaseLooksAndHooks) {
  HookLog().clear();
  desktop.Hooks.OnPress = LogPress;
  desktop.Hooks.OnRelease = LogRelease;
  desktop.Hooks.OnMouseDown = LogMouseDown;
  C_Widget* apply = gallery.Buttons[0];
  C_Widget* reset = gallery.Buttons[1];
  const C_Vector2D at = Centre(apply);
  Move(at.X, at.Y);
  EXPECT_EQ(apply->State, StateHovered);
  EXPECT_EQ(desktop.Hovered, apply);
  EXPECT_EQ(window.CursorCode, CursorArrow);
  Move(Centre(reset).X, Centre(reset).Y);
  EXPECT_EQ(apply->State, StateNormal);
  EXPECT_EQ(reset->State, StateHovered);
  Press(at);
  EXPECT_EQ(apply->State, StatePressed);
  EXPECT_EQ(desktop.Pressed, apply);
  EXPECT_EQ(desktop.DragAction, ZoneClick);
  Release(at);
  EXPECT_EQ(apply->State, StateNormal);
  EXPECT_EQ(desktop.Dragging, 0);
  const std::vector<std::string> expected = {"down apply 1 40 11", "press apply 0",
                                             "release apply 0"};
  EXPECT_EQ(HookLog(), expected);
  // The caption's move zone shows its own cursor.
  C_Widget* frame = Frame(gallery.Form, PartFrameNormal);
  Move(frame->Resolved.X1 + 40, frame->Resolved.Y1 + 8);
  EXPECT_EQ(window.CursorCode, CursorSizeAll);
}

TEST_F(DesktopTest, PressOnNothingSetsNoActionAndItsReleaseDoesNothing) {
  HookLog().clear();
  desktop.Hooks.OnRelease = LogRelease;
  Press(C_Vector2D(700, 560));
  EXPECT_EQ(desktop.DragAction, kNoDragAction);
  EXPECT_EQ(desktop.Pressed, nullptr);
  Release(C_Vector2D(700, 560));
  EXPECT_TRUE(HookLog().empty());
  EXPECT_EQ(desktop.Dragging, 0);
}

TEST_F(DesktopTest, OptionGroupsEndAtTheSeparatorAndCheckBoxesToggle) {
  C_Widget* const* o = gallery.Options;
  struct Step {
    int click;        // option index, or 10 + check box index
    uint8_t want[8];  // six options, then two check boxes
  };
  const Step steps[] = {
      {1, {0, 1, 0, 1, 0, 0, 0, 0}},   // the first group changes, the second does not
      {1, {0, 1, 0, 1, 0, 0, 0, 0}},   // clicking the checked one changes nothing
      {5, {0, 1, 0, 0, 0, 1, 0, 0}},   // the second group
      {2, {0, 0, 1, 0, 0, 1, 0, 0}},   //
      {10, {0, 0, 1, 0, 0, 1, 1, 0}},  // a check box on
      {11, {0, 0, 1, 0, 0, 1, 1, 1}},  // the other one, independently
      {10, {0, 0, 1, 0, 0, 1, 0, 1}},  // twice restores it
  };
  for (const Step& step : steps) {
    C_Widget* target = step.click >= 10 ? gallery.CheckBoxes[step.click - 10] : o[step.click];
    Click(target);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(o[i]->Checked, step.want[i]) << step.click << " " << i;
    for (int i = 0; i < 2; ++i)
      EXPECT_EQ(gallery.CheckBoxes[i]->Checked, step.want[6 + i]) << step.click << " box " << i;
  }
  // A release away from the option does not check it.
  Press(Centre(o[0]));
  Release(C_Vector2D(700, 560));
  EXPECT_EQ(o[0]->Checked, 0);
}

TEST_F(DesktopTest, PressOptionsCheckOnThePressWithinTheirGroup) {
  C_Widget* content = gallery.Form->ChildAt(0);
  C_Widget* made[3] = {};
  for (int i = 0; i < 3; ++i) {
    made[i] =
        MakeWidget(TemplateOption, "Boxes", SizedRect(10, 300 + 20.0f * i, 100, 16), "p", "press");
    made[i]->Kind = KindPressOption;
    ASSERT_TRUE(content->AddChild(made[i]));
  }
  made[0]->Checked = 1;
  desktop.PrepareAll();
  desktop.Layout();
  Press(Centre(made[2]));
  EXPECT_EQ(made[2]->Checked, 1);
  EXPECT_EQ(made[0]->Checked, 0);
  Release(Centre(made[2]));
  EXPECT_EQ(made[2]->Checked, 1);
}

TEST_F(DesktopTest, HeldArrowRepeatsAfterPointFourSecondsThenEveryPointZeroFive) {
  C_ScrollBar* bar = Bar(gallery.ScrollSpace, PartSpaceHScroll, KindHScrollBar);
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->Visible, 1);
  EXPECT_EQ(bar->Step, 10);
  C_Widget* up = bar->FindPart(PartStepUp, KindButton);
  const C_Vector2D at = Centre(up);
  Press(at);  // at t = 100
  EXPECT_EQ(bar->Value, 10);
  struct Tick {
    double t;
    float value;
  };
  // Times stay clear of the exact boundaries, where rounding decides.
  const Tick ticks[] = {{100.2, 10},  {100.39, 10}, {100.41, 20}, {100.45, 20},
                        {100.47, 30}, {100.51, 30}, {100.53, 40}, {100.57, 40}};
  for (const Tick& tick : ticks) {
    this->Tick(tick.t, at);
    EXPECT_EQ(bar->Value, tick.value) << tick.t;
    EXPECT_EQ(up->State, StatePressed);
  }
  C_Widget* content = gallery.ScrollSpace->FindPart(PartContent, KindPlain);
  EXPECT_EQ(content->ScrollOffset.X, 40);
  // Off the arrow the repeat stops and the arrow looks normal.
  const C_Vector2D away(at.X, at.Y - 100);
  Move(away.X, away.Y);
  this->Tick(101.0, away);
  EXPECT_EQ(bar->Value, 40);
  EXPECT_EQ(up->State, StateNormal);
  // Back on it, it repeats again.
  Move(at.X, at.Y);
  this->Tick(101.1, at);
  EXPECT_EQ(bar->Value, 50);
  Release(at);
  this->Tick(102.0, at);
  EXPECT_EQ(bar->Value, 50);
}

TEST_F(DesktopTest, SteppingAndPagingStopAtTheEnds) {
  C_ScrollBar* bar = Bar(gallery.ScrollSpace, PartSpaceVScroll, KindVScrollBar);
  ASSERT_EQ(bar->Visible, 1);
  const float maximum = bar->Maximum;
  ASSERT_GT(maximum, 0);
  C_Widget* down = bar->FindPart(PartStepDown, KindButton);
  Click(down);
  EXPECT_EQ(bar->Value, 0);  // already at Minimum
  C_Widget* pageUp = bar->FindPart(PartPageUp, KindPlain);
  C_Widget* pageDown = bar->FindPart(PartPageDown, KindPlain);
  const C_Vector2D pageUpAt(Centre(pageUp).X, pageUp->Resolved.Y2 - 3);
  Press(pageUpAt);
  Release(pageUpAt);
  EXPECT_EQ(bar->Value, maximum);  // the page of 100 passes the end and stops there
  // The thumb's far edge is at the track's far edge.
  C_Widget* thumb = bar->FindPart(PartThumb, KindButton);
  desktop.Layout();
  EXPECT_FLOAT_EQ(thumb->Resolved.Y2, bar->Resolved.Y2 - kBarThickness);
  const C_Vector2D pageDownAt(Centre(pageDown).X, pageDown->Resolved.Y1 + 3);
  Press(pageDownAt);
  Release(pageDownAt);
  EXPECT_EQ(bar->Value, 0);
  EXPECT_FLOAT_EQ(thumb->Resolved.Y1, bar->Resolved.Y1 + kBarThickness);
}

TEST_F(DesktopTest, DraggedThumbSetsTheValueAndStaysOnItsTrack) {
  C_ScrollBar* bar = Bar(gallery.ScrollSpace, PartSpaceHScroll, KindHScrollBar);
  C_Widget* thumb = bar->FindPart(PartThumb, KindButton);
  C_Widget* content = gallery.ScrollSpace->FindPart(PartContent, KindPlain);
  const C_Vector2D at = Centre(thumb);
  const float track = bar->Resolved.X2 - bar->Resolved.X1 - 2 * kBarThickness;
  const float length = thumb->Resolved.X2 - thumb->Resolved.X1;
  Press(at);
  Move(at.X + 40, at.Y + 30);  // across only: the vertical travel is ignored
  desktop.Layout();
  EXPECT_FLOAT_EQ(thumb->Resolved.X1, bar->Resolved.X1 + kBarThickness + 40);
  EXPECT_FLOAT_EQ(thumb->Resolved.Y1, bar->Resolved.Y1);
  EXPECT_NEAR(bar->Value, 40 * bar->Maximum / (track - length), 0.01);
  EXPECT_FLOAT_EQ(content->ScrollOffset.X, bar->Value);
  Move(at.X + 2000, at.Y);
  Release(C_Vector2D(at.X + 2000, at.Y));
  desktop.Layout();
  EXPECT_FLOAT_EQ(bar->Value, bar->Maximum);
  EXPECT_FLOAT_EQ(thumb->Resolved.X2, bar->Resolved.X2 - kBarThickness);
  Drag(Centre(thumb), C_Vector2D(0, Centre(thumb).Y));
  EXPECT_FLOAT_EQ(bar->Value, 0);
  EXPECT_FLOAT_EQ(content->ScrollOffset.X, 0);
}

TEST_F(DesktopTest, FormsMoveAndResizeWithinMinimumSizesAndDragLimits) {
  C_Form* form = gallery.Form;
  C_Widget* frame = Frame(form, PartFrameNormal);
  const C_Rect start = form->Rect;
  const C_Vector2D caption(frame->Resolved.X1 + 60, frame->Resolved.Y1 + 8);
  Drag(caption, C_Vector2D(caption.X + 30, caption.Y + 15));
  EXPECT_EQ(form->Rect.X1, start.X1 + 30);
  EXPECT_EQ(form->Rect.Y1, start.Y1 + 15);
  EXPECT_EQ(form->Rect.X2, start.X2 + 30);  // a coordinate moves with the form
  EXPECT_EQ(form->Rect.Y2, start.Y2);       // a height does not
  // The root's limits keep the form on the screen, its size unchanged.
  desktop.Root->DragLimits = C_Rect(0, 0, 0, 0, 0x00, 0x11);
  desktop.Layout();
  const C_Vector2D moved(frame->Resolved.X1 + 60, frame->Resolved.Y1 + 8);
  Drag(moved, C_Vector2D(moved.X - 500, moved.Y - 500));
  EXPECT_EQ(form->Rect.X1, 0);
  EXPECT_EQ(form->Rect.Y1, 0);
  EXPECT_EQ(form->Rect.X2 - form->Rect.X1, start.X2 - start.X1);
  // Shrinking by the corner stops at the minimum size.
  desktop.Layout();
  const C_Vector2D corner(frame->Resolved.X2 - 3, frame->Resolved.Y2 - 3);
  Press(corner);
  EXPECT_EQ(desktop.DragAction, ZoneBottomRight);
  Move(corner.X - 1000, corner.Y - 1000);
  Release(C_Vector2D(corner.X - 1000, corner.Y - 1000));
  desktop.Layout();
  EXPECT_EQ(form->Resolved.X2 - form->Resolved.X1, form->MinWidth);
  EXPECT_EQ(form->Resolved.Y2 - form->Resolved.Y1, form->MinHeight);
  // Growing it past the limits stops at the screen's edge.
  const C_Vector2D small(frame->Resolved.X2 - 3, frame->Resolved.Y2 - 3);
  Drag(small, C_Vector2D(small.X + 5000, small.Y + 5000));
  desktop.Layout();
  EXPECT_EQ(form->Resolved.X2, 800);
  EXPECT_EQ(form->Resolved.Y2, 600);
}

TEST_F(DesktopTest, TheRightButtonTurnsAResizeIntoAMove) {
  C_Form* form = gallery.Form;
  C_Widget* frame = Frame(form, PartFrameNormal);
  const C_Rect start = form->Rect;
  const C_Vector2D corner(frame->Resolved.X2 - 3, frame->Resolved.Y2 - 3);
  Move(corner.X, corner.Y);
  Button(SDL_MOUSEBUTTONDOWN, corner.X, corner.Y, SDL_BUTTON_RIGHT);
  EXPECT_EQ(desktop.DragAction, ZoneMove);
  Move(corner.X + 10, corner.Y + 20);
  Button(SDL_MOUSEBUTTONUP, corner.X + 10, corner.Y + 20, SDL_BUTTON_RIGHT);
  EXPECT_EQ(form->Rect.X1, start.X1 + 10);
  EXPECT_EQ(form->Rect.Y1, start.Y1 + 20);
  EXPECT_EQ(form->Rect.Y2, start.Y2);
}

TEST_F(DesktopTest, HiddenWidgetsAndTheirChildrenAreNeverHit) {
  C_Widget* box = gallery.CheckBoxes[0];
  const C_Vector2D at = Centre(box);
  EXPECT_EQ(desktop.HitTest(at), box);
  box->Visible = 0;
  EXPECT_EQ(desktop.HitTest(at), nullptr);
  Click(box);
  EXPECT_EQ(box->Checked, 0);
  C_Widget* child = gallery.SpaceChildren[0];
  const C_Vector2D inside = Centre(child);
  EXPECT_EQ(desktop.HitTest(inside), child);
  gallery.ScrollSpace->Visible = 0;
  EXPECT_EQ(desktop.HitTest(inside), nullptr);
}

TEST_F(DesktopTest, PressingBringsToFrontRemembersTheActiveChildAndSetsTheFocus) {
  C_Form* second = static_cast<C_Form*>(
      MakeWidget(TemplateForm, "Boxes", FormRect(300, 100, 600, 200), "second", "second"));
  ASSERT_TRUE(desktop.Root->AddChild(second));
  gallery.Form->BringToFront = 1;
  second->BringToFront = 1;
  desktop.PrepareAll();
  desktop.Layout();
  // The gallery is under the second form; its caption still shows at the left.
  C_Widget* frame = Frame(gallery.Form, PartFrameNormal);
  const C_Vector2D caption(frame->Resolved.X1 + 30, frame->Resolved.Y1 + 8);
  EXPECT_EQ(DrawOrderAt(*desktop.Root, desktop.Root->DrawOrder->Count - 1), second);
  Press(caption);
  Release(caption);
  EXPECT_EQ(DrawOrderAt(*desktop.Root, desktop.Root->DrawOrder->Count - 1), gallery.Form);
  EXPECT_EQ(desktop.Root->ActiveChild, gallery.Form);
  // A press on the text remembers the path down to the text area: the focus.
  Click(TextArea());
  EXPECT_EQ(desktop.Focus, TextArea());
  EXPECT_EQ(gallery.TextBox->ActiveChild, TextArea());
  // The active form shows its active frame; the other one, inactive, does not.
  desktop.Layout();
  EXPECT_EQ(gallery.Form->Inactive, 0);
  EXPECT_EQ(second->Inactive, 1);
}

}  // namespace

namespace {

// Every drag action on a 60 x 60 box at (100, 100) with a minimum of 20 x 20, its
// far corner given as a size or as coordinates, dragged from its centre.
TEST_F(DesktopTest, DragActionsMoveAndResizeByTheirEdges) {
  C_Widget* box = new C_Widget();
  box->Setup(SizedRect(100, 100, 60, 60), "box", "");
  box->Decals[SlotNormal] = widget_test::ZoneDecal(ZoneMove);
  auto* zone = static_cast<C_Layer_Zone*>(box->Decals[SlotNormal]->Layers->Items[0]);
  zone->Area = C_Rect(0, 0, 0, 0, 0x00, 0x11);
  box->MinWidth = box->MinHeight = 20;
  ASSERT_TRUE(desktop.Root->AddChild(box));
  desktop.PrepareAll();
  constexpr uint8_t kSizes = 0x33, kCoordinates = 0x00;
  struct Case {
    uint8_t action, anchor2, movable, resizable;
    float dx, dy;
    C_Rect want;  // X1, Y1, X2, Y2 as stored
  };
  const Case cases[] = {
      {ZoneLeftEdge, kSizes, 1, 1, 10, 0, {110, 100, 50, 60}},
      {ZoneLeftEdge, kSizes, 1, 1, 100, 0, {140, 100, 20, 60}},  // stops at the minimum
      {ZoneTopEdge, kSizes, 1, 1, 0, -10, {100, 90, 60, 70}},
      {ZoneRightEdge, kSizes, 1, 1, -100, 0, {100, 100, 20, 60}},
      {ZoneBottomEdge, kSizes, 1, 1, 0, 15, {100, 100, 60, 75}},
      {ZoneTopLeft, kSizes, 1, 1, 5, 5, {105, 105, 55, 55}},
      {ZoneTopRight, kSizes, 1, 1, 10, 10, {100, 110, 70, 50}},
      {ZoneBottomLeft, kSizes, 1, 1, 10, 10, {110, 100, 50, 70}},
      {ZoneBottomRight, kSizes, 1, 1, 10, -50, {100, 100, 70, 20}},
      {ZoneMoveHorizontal, kSizes, 1, 1, 7, 9, {107, 100, 60, 60}},
      {ZoneMoveVertical, kSizes, 1, 1, 7, 9, {100, 109, 60, 60}},
      {ZoneMove, kSizes, 1, 1, 5, 6, {105, 106, 60, 60}},
      {ZoneLeftEdge, kCoordinates, 1, 1, 10, 0, {110, 100, 160, 160}},
      {ZoneRightEdge, kCoordinates, 1, 1, -100, 0, {100, 100, 120, 160}},
      {ZoneMove, kCoordinates, 1, 1, 5, 6, {105, 106, 165, 166}},
      {ZoneMove, kSizes, 0, 1, 5, 6, {100, 100, 60, 60}},        // not movable
      {ZoneRightEdge, kSizes, 1, 0, 10, 0, {100, 100, 60, 60}},  // not resizable
  };
  for (const Case& c : cases) {
    box->Rect = c.anchor2 == kSizes ? SizedRect(100, 100, 60, 60)
                                    : C_Rect(100, 100, 160, 160, 0x00, kCoordinates);
    box->Movable = c.movable;
    box->Resizable = c.resizable;
    zone->Action = c.action;
    desktop.Layout();
    Drag(C_Vector2D(130, 130), C_Vector2D(130 + c.dx, 130 + c.dy));
    const C_Rect& r = box->Rect;
    EXPECT_EQ(r.X1, c.want.X1) << int(c.action) << " anchor " << int(c.anchor2);
    EXPECT_EQ(r.Y1, c.want.Y1) << int(c.action) << " anchor " << int(c.anchor2);
    EXPECT_EQ(r.X2, c.want.X2) << int(c.action) << " anchor " << int(c.anchor2);
    EXPECT_EQ(r.Y2, c.want.Y2) << int(c.action) << " anchor " << int(c.anchor2);
  }
}

}  // namespace
