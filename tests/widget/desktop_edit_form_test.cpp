// Text editing in the gallery's text box through the keyboard and the mouse, with
// the box's bars following the text; forms minimised, docked, restored,
// maximised and rolled up; scroll spaces showing and hiding their bars.
#include <gtest/gtest.h>

#include <string>

#include "tests/widget/desktop_test_support.h"

namespace {

using desktop_test::Centre;
using desktop_test::DesktopTest;

class EditTest : public DesktopTest {
 protected:
  // Gives the text box the text and the focus, with the caret after the last
  // character of the first line (a click right of it).
  void Start(const char* text) {
    gallery.TextBox->SetText(text);
    desktop.UpdateWidget(gallery.TextBox);
    desktop.Layout();
    C_Widget* area = TextArea();
    Click(area);
    const C_Vector2D endOfFirstLine(area->Resolved.X2 - 30, area->Resolved.Y1 + 8);
    Press(endOfFirstLine);
    Release(endOfFirstLine);
  }
  std::string Text() { return TextArea()->Text.c_str(); }
  int32_t Caret() { return TextLayer()->Layout.CaretIndex; }
  C_Vector2D CharacterAt(int32_t column, int32_t line) {
    const C_Layer_Text* layer = TextLayer();
    const C_Rect& area = TextArea()->Resolved;
    // The box font advances 6 pixels a letter; lines are 16 pixels apart.
    return C_Vector2D(area.X1 + 3 + 6.0f * static_cast<float>(column) + 1,
                      area.Y1 + 3 + layer->Layout.LineHeight * (static_cast<float>(line) + 0.5f));
  }
};

TEST_F(EditTest, KeysEditTheTextAtTheCaret) {
  Start("abc");
  EXPECT_EQ(desktop.EditTarget, TextArea());
  EXPECT_EQ(desktop.Focus, TextArea());
  EXPECT_EQ(Caret(), 3);
  struct Step {
    SDL_Keycode key;
    const char* typed;
    const char* text;
    int32_t caret;
  };
  const Step steps[] = {
      {'d', "d", "abcd", 4},
      {'e', "e", "abcde", 5},
      {SDLK_LEFT, nullptr, "abcde", 4},
      {SDLK_LEFT, nullptr, "abcde", 3},
      {SDLK_BACKSPACE, nullptr, "abde", 2},
      {SDLK_DELETE, nullptr, "abe", 2},
      {SDLK_RIGHT, nullptr, "abe", 3},
      {SDLK_DELETE, nullptr, "abe", 3},  // at the end: nothing
      {SDLK_RIGHT, nullptr, "abe", 3},   // nor further right
      {SDLK_RETURN, nullptr, "abe\n", 4},
      {SDLK_TAB, "\t", "abe\n\t", 5},
      {SDLK_BACKSPACE, nullptr, "abe\n", 4},
      {SDLK_BACKSPACE, nullptr, "abe", 3},
  };
  for (const Step& step : steps) {
    Key(step.key, step.typed);
    EXPECT_EQ(Text(), step.text) << step.key;
    EXPECT_EQ(Caret(), step.caret) << step.key;
  }
  for (int i = 0; i < 5; ++i) Key(SDLK_LEFT);
  EXPECT_EQ(Caret(), 0);
  Key(SDLK_BACKSPACE);  // at the start: nothing
  EXPECT_EQ(Text(), "abe");
  EXPECT_EQ(Caret(), 0);
}

TEST_F(EditTest, SingleLineTextTakesNeitherEnterNorTab) {
  Start("abc");
  TextLayer()->MultiLine = 0;
  Key(SDLK_RETURN);
  Key(SDLK_TAB, "\t");
  EXPECT_EQ(Text(), "abc");
  EXPECT_EQ(Caret(), 3);
}

TEST_F(EditTest, ClicksPutTheCaretUnderThePointerAndUpAndDownMoveByLine) {
  Start("abcdef\nghijkl\nmnopqr");
  struct Case {
    int32_t column, line, caret;
  };
  const Case clicks[] = {{2, 0, 2}, {0, 1, 7}, {4, 2, 18}, {40, 1, 13}};
  for (const Case& c : clicks) {
    const C_Vector2D at = CharacterAt(c.column, c.line);
    Press(at);
    Release(at);
    EXPECT_EQ(Caret(), c.caret) << c.column << "," << c.line;
  }
  Press(CharacterAt(3, 1));
  Release(CharacterAt(3, 1));
  ASSERT_EQ(Caret(), 10);
  Key(SDLK_UP);
  EXPECT_EQ(Caret(), 3);
  Key(SDLK_UP);  // no line above: it stays
  EXPECT_EQ(Caret(), 3);
  Key(SDLK_DOWN);
  Key(SDLK_DOWN);
  EXPECT_EQ(Caret(), 17);
  Type("x");
  EXPECT_EQ(Text(), "abcdef\nghijkl\nmnoxpqr");
}

TEST_F(EditTest, BarsAppearAsTheTextGrowsAndGoAsItShrinks) {
  Start("abc");
  C_ScrollBar* across = Bar(gallery.TextBox, PartTextHScroll, KindHScrollBar);
  C_ScrollBar* down = Bar(gallery.TextBox, PartTextVScroll, KindVScrollBar);
  C_Widget* area = TextArea();
  EXPECT_EQ(across->Visible, 0);
  EXPECT_EQ(down->Visible, 0);
  EXPECT_EQ(area->Rect.Y2, 0);
  EXPECT_EQ(area->Rect.X2, 0);
  // A long unwrapped line brings the horizontal bar; the text area gives it room.
  const std::string longLine(64, 'w');
  Type(longLine.c_str());
  EXPECT_EQ(across->Visible, 1);
  EXPECT_EQ(area->Rect.Y2, -kBarThickness);
  EXPECT_EQ(down->Rect.Y2, -kBarThickness);
  EXPECT_EQ(across->Step, 10);
  EXPECT_GT(across->Maximum, 0);
  for (size_t i = 0; i < longLine.size(); ++i) Key(SDLK_BACKSPACE);
  EXPECT_EQ(Text(), "abc");
  EXPECT_EQ(across->Visible, 0);
  EXPECT_EQ(area->Rect.Y2, 0);
  EXPECT_EQ(TextLayer()->Scroll.X, 0);
  // Many lines bring the vertical bar; scrolling with it moves the text up.
  for (int i = 0; i < 12; ++i) Key(SDLK_RETURN);
  EXPECT_EQ(down->Visible, 1);
  EXPECT_EQ(area->Rect.X2, -kBarThickness);
  desktop.Layout();
  Click(down->FindPart(PartStepUp, KindButton));
  EXPECT_EQ(down->Value, 10);
  EXPECT_EQ(TextLayer()->Scroll.Y, -10);
  // Deleting the lines hides it and resets the scroll.
  Press(CharacterAt(0, 0));
  Release(CharacterAt(0, 0));
  for (int i = 0; i < 40; ++i) Key(SDLK_RIGHT);
  for (int i = 0; i < 12; ++i) Key(SDLK_BACKSPACE);
  EXPECT_EQ(Text(), "abc");
  EXPECT_EQ(down->Visible, 0);
  EXPECT_EQ(area->Rect.X2, 0);
  EXPECT_EQ(TextLayer()->Scroll.Y, 0);
}

TEST_F(EditTest, WrappedTextNeverShowsTheHorizontalBar) {
  TextLayer()->Format.Align = AlignLeftWrap;
  Start("abc");
  Type(std::string(80, 'w').c_str());
  EXPECT_EQ(Bar(gallery.TextBox, PartTextHScroll, KindHScrollBar)->Visible, 0);
}

using FormTest = DesktopTest;

TEST_F(FormTest, MinimiseRestoreMaximiseAndRollUpByTheCaptionButtons) {
  C_Form* form = gallery.Form;
  const C_Rect normal = form->Rect;
  Click(CaptionButton(form, PartFrameNormal, PartMinimise));
  EXPECT_EQ(form->Mode, FormMinimised);
  ASSERT_NE(desktop.Root->Docked, nullptr);
  EXPECT_EQ(desktop.Root->Docked->Count, 1u);
  desktop.Layout();
  // Docked at the bottom left with the minimised frame's size; the client
  // content is neither drawn nor hit.
  EXPECT_EQ(form->Resolved.X1, 0);
  EXPECT_EQ(form->Resolved.Y2, 600);
  EXPECT_EQ(form->Resolved.X2, 130);
  EXPECT_EQ(form->Resolved.Y2 - form->Resolved.Y1, 22);
  EXPECT_EQ(form->Page + 1, Frame(form, PartFrameMinimised)->Index);
  Click(CaptionButton(form, PartFrameMinimised, PartRestore));
  EXPECT_EQ(form->Mode, FormNormal);
  EXPECT_EQ(desktop.Root->Docked->Count, 0u);
  EXPECT_EQ(form->Rect.X1, normal.X1);
  EXPECT_EQ(form->Rect.Y1, normal.Y1);
  EXPECT_EQ(form->Rect.X2, normal.X2);
  EXPECT_EQ(form->Rect.Y2, normal.Y2);
  desktop.Layout();
  Click(CaptionButton(form, PartFrameNormal, PartMaximise));
  desktop.Layout();
  EXPECT_EQ(form->Mode, FormMaximised);
  EXPECT_EQ(form->Resolved.X1, 0);
  EXPECT_EQ(form->Resolved.Y1, 0);
  EXPECT_EQ(form->Resolved.X2, 800);
  EXPECT_EQ(form->Resolved.Y2, 600);
  // Minimised from maximised, restore still returns to the normal rectangle.
  Click(CaptionButton(form, PartFrameMaximised, PartMinimise));
  desktop.Layout();
  Click(CaptionButton(form, PartFrameMinimised, PartRestore));
  EXPECT_EQ(form->Rect.X2, normal.X2);
  EXPECT_EQ(form->Rect.Y2, normal.Y2);
  desktop.Layout();
  Click(CaptionButton(form, PartFrameNormal, PartRollUp));
  desktop.Layout();
  EXPECT_EQ(form->Mode, FormRolledUp);
  EXPECT_EQ(form->Resolved.Y2 - form->Resolved.Y1, 22);
  EXPECT_EQ(form->Resolved.X2 - form->Resolved.X1, normal.X2 - normal.X1);
  // Rolled up, what was under the content is not hit any more.
  EXPECT_EQ(desktop.HitTest(Centre(gallery.CheckBoxes[0])), nullptr);
  Click(CaptionButton(form, PartFrameRolledUp, PartRestore));
  EXPECT_EQ(form->Rect.Y2, normal.Y2);
  desktop.Layout();
  EXPECT_EQ(desktop.HitTest(Centre(gallery.CheckBoxes[0])), gallery.CheckBoxes[0]);
}

TEST_F(FormTest, ARolledUpFormIsAsHighAsItsCaptionWhateverItsWidthAnchor) {
  // The form template's own anchors (0x33), the gallery's (0x30) and a bottom
  // given by the second size code (0x53): a height in each.
  for (const uint8_t anchor2 : {uint8_t{0x30}, uint8_t{0x33}, uint8_t{0x53}}) {
    SCOPED_TRACE(static_cast<int>(anchor2));
    const float right = anchor2 == 0x30 ? 420 : 300;  // the same 300 pixels wide
    C_Rect rect = FormRect(120, 150, right, 200);
    rect.Anchor2 = anchor2;
    auto* form = static_cast<C_Form*>(MakeWidget(TemplateForm, "Boxes", rect, "f", "f"));
    ASSERT_TRUE(desktop.Root->AddChild(form));
    desktop.PrepareAll();
    desktop.RunFormCommand(form, PartRollUp);
    desktop.Layout();
    EXPECT_EQ(form->Resolved.Y2 - form->Resolved.Y1, 22);
    EXPECT_EQ(form->Resolved.X2 - form->Resolved.X1, 300);
    desktop.RunFormCommand(form, PartRestore);
    desktop.Layout();
    EXPECT_EQ(form->Resolved.Y2 - form->Resolved.Y1, 200);
  }
}

TEST_F(FormTest, MinimisedFormsDockInRowsFromTheBottomLeft) {
  C_Form* forms[8] = {gallery.Form};
  for (int i = 1; i < 8; ++i) {
    forms[i] = static_cast<C_Form*>(
        MakeWidget(TemplateForm, "Boxes", FormRect(10.0f * i, 10, 300, 200), "f", "f"));
    ASSERT_TRUE(desktop.Root->AddChild(forms[i]));
  }
  desktop.PrepareAll();
  for (C_Form* form : forms) desktop.RunFormCommand(form, PartMinimise);
  desktop.Layout();
  // 800 pixels hold six frames of 130; the next two go on a row above.
  for (int i = 0; i < 8; ++i) {
    const float column = static_cast<float>(i % 6), row = static_cast<float>(i / 6);
    EXPECT_EQ(forms[i]->Resolved.X1, 130 * column) << i;
    EXPECT_EQ(forms[i]->Resolved.Y2, 600 - 22 * row) << i;
    EXPECT_EQ(forms[i]->Inactive, 1) << i;
  }
  // Restoring one closes the gap it leaves.
  desktop.RunFormCommand(forms[2], PartRestore);
  desktop.Layout();
  EXPECT_EQ(forms[3]->Resolved.X1, 260);
  EXPECT_EQ(forms[6]->Resolved.X1, 650);
  EXPECT_EQ(forms[7]->Resolved.Y2, 578);
}

TEST_F(FormTest, ScrollSpacesShowBarsOnlyForChildrenBeyondTheirSize) {
  C_Widget* space = gallery.ScrollSpace;
  C_Widget* content = space->FindPart(PartContent, KindPlain);
  C_ScrollBar* across = Bar(space, PartSpaceHScroll, KindHScrollBar);
  C_ScrollBar* down = Bar(space, PartSpaceVScroll, KindVScrollBar);
  EXPECT_EQ(across->Visible, 1);
  EXPECT_EQ(down->Visible, 1);
  EXPECT_EQ(across->PageSize, 100);
  EXPECT_EQ(content->Rect.Y2, -kBarThickness);
  // Scrolled, the children move by the offset.
  const float before = gallery.SpaceChildren[0]->Resolved.X1;
  Click(across->FindPart(PartStepUp, KindButton));
  desktop.Layout();
  EXPECT_EQ(gallery.SpaceChildren[0]->Resolved.X1, before - 10);
  // Children that fit: no bars, no offset.
  for (C_Widget* child : gallery.SpaceChildren) child->Rect = SizedRect(5, 5, 20, 20);
  desktop.UpdateWidget(space);
  EXPECT_EQ(across->Visible, 0);
  EXPECT_EQ(down->Visible, 0);
  EXPECT_EQ(content->ScrollOffset.X, 0);
  EXPECT_EQ(content->Rect.Y2, 0);
  EXPECT_EQ(content->Rect.X2, 0);
}

TEST_F(FormTest, DraggingAChildOfAScrollSpaceUpdatesItsBars) {
  C_Widget* child = gallery.SpaceChildren[5];
  for (C_Widget* c : gallery.SpaceChildren) c->Rect = SizedRect(5, 5, 20, 20);
  desktop.UpdateWidget(gallery.ScrollSpace);
  C_ScrollBar* down = Bar(gallery.ScrollSpace, PartSpaceVScroll, KindVScrollBar);
  ASSERT_EQ(down->Visible, 0);
  // A movable child dragged down past the bottom brings the vertical bar.
  C_Widget* owner = child;
  owner->Movable = 1;
  // Its click zone becomes a move zone.
  C_Object*& slot = owner->Decals[SlotNormal]->Layers->Items[2];
  DeleteOwnedObject(slot);
  auto* zone = new C_Layer_Zone();
  zone->Area = C_Rect(0, 0, 0, 0, 0x00, 0x11);
  zone->Action = ZoneMove;
  slot = zone;
  desktop.Layout();
  Drag(Centre(child), C_Vector2D(Centre(child).X, Centre(child).Y + 300));
  EXPECT_EQ(down->Visible, 1);
}

}  // namespace
