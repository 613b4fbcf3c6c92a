// The desktop driving widgets cloned from the eleven files the skin builder writes,
// with the built graphics sheets and fonts, through a headless window: option
// groups, check boxes, looks, a held scroll-bar arrow, typing with the text box's
// bars, the form's caption buttons, and reference pictures of the composed screen.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "tests/widget/desktop_pictures.h"
#include "tests/widget/desktop_test_support.h"
#include "tests/widget/skin_files.h"
#include "tests/widget/widget_test_support.h"

namespace {

using desktop_test::Centre;
using desktop_test::DesktopTest;
using desktop_test::MatchesReference;

// The widgets of the screen built from the files.
struct BuiltScreen {
  C_Form* Form = nullptr;
  C_Widget* Buttons[2] = {};
  C_Widget* Options[6] = {};
  C_Widget* Separator = nullptr;
  C_Widget* CheckBoxes[2] = {};
  C_TextBox* TextBox = nullptr;
  C_Widget* Space = nullptr;
  C_Widget* SpaceButtons[4] = {};
};

class BuiltFilesTest : public DesktopTest {
 protected:
  void Populate() override {
    if (!skin_files::Fonts() || !skin_files::Sheets()) return;
    desktop.Fonts = skin_files::Fonts();
    desktop.Sheets = skin_files::Sheets();
    desktop.BindResources();
    desktop.CreatePage();
    for (const char* name : skin_files::kWidgetFiles) {
      C_Widget* loaded = skin_files::LoadTemplate(name);
      if (!loaded) return;
      templates.emplace_back(loaded);
    }
    ready = true;
    screen.Form = static_cast<C_Form*>(Clone("form", FormRect(20, 20, 580, 440), "built", "built"));
    desktop.Root->AddChild(screen.Form);
    const char* const buttons[] = {"Apply", "Reset"};
    for (int i = 0; i < 2; ++i) {
      screen.Buttons[i] =
          Add(Clone("button", SizedRect(10 + 106.0f * i, 10, 96, 24), buttons[i], buttons[i]));
    }
    const char* const options[] = {"Lumps",      "Blobs",      "Perlin Noise",
                                   "Height Map", "Normal Map", "BumpMapping"};
    float y = 44;
    for (int i = 0; i < 6; ++i) {
      if (i == 3) {
        screen.Separator = Add(Clone("hseparator", SizedRect(10, y + 2, 160, 2), "split", ""));
        y += 8;
      }
      screen.Options[i] = Add(Clone("option", SizedRect(10, y, 160, 20), options[i], options[i]));
      y += 22;
    }
    screen.Options[0]->Checked = screen.Options[3]->Checked = 1;
    for (int i = 0; i < 2; ++i) {
      screen.CheckBoxes[i] =
          Add(Clone("checkbox", SizedRect(10, y + 8 + 22.0f * i, 160, 20), "box", "Check"));
    }
    screen.TextBox =
        static_cast<C_TextBox*>(Add(Clone("textbox", SizedRect(200, 10, 300, 120), "text", "abc")));
    screen.Space = Add(Clone("scrollspace", SizedRect(200, 150, 300, 160), "space", ""));
    for (int i = 0; i < 4; ++i) {
      screen.SpaceButtons[i] =
          Clone("button", SizedRect(10 + 300.0f * (i % 2), 10 + 140.0f * (i / 2), 96, 24), "item",
                "Item");
      screen.Space->AddChild(screen.SpaceButtons[i]);
    }
  }
  void TearDown() override {
    // The sheets belong to the shared test pack, not to this desktop.
    desktop.Sheets = nullptr;
    desktop.Fonts = nullptr;
    DesktopTest::TearDown();
  }

  C_Widget* Clone(const char* file, const C_Rect& rect, const char* name, const char* text) {
    for (size_t i = 0; i < std::size(skin_files::kWidgetFiles); ++i) {
      if (std::string(skin_files::kWidgetFiles[i]) != file) continue;
      auto* widget = static_cast<C_Widget*>(templates[i]->Clone());
      widget->Setup(rect, name, text);
      return widget;
    }
    return nullptr;
  }
  C_Widget* Add(C_Widget* widget) {
    EXPECT_TRUE(screen.Form->AddChild(widget));
    return widget;
  }

  std::vector<widget_test::Ptr<C_Widget>> templates;
  BuiltScreen screen;
  bool ready = false;
};

#define REQUIRE_FILES() \
  if (!ready) GTEST_SKIP() << "the skin builder's files are not in the build tree"

TEST_F(BuiltFilesTest, OptionGroupsCheckBoxesAndLooks) {
  REQUIRE_FILES();
  C_Widget* const* o = screen.Options;
  Click(o[2]);
  const uint8_t afterFirst[6] = {0, 0, 1, 1, 0, 0};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(o[i]->Checked, afterFirst[i]) << i;
  Click(o[4]);
  Click(o[4]);
  const uint8_t afterSecond[6] = {0, 0, 1, 0, 1, 0};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(o[i]->Checked, afterSecond[i]) << i;
  Click(screen.CheckBoxes[0]);
  EXPECT_EQ(screen.CheckBoxes[0]->Checked, 1);
  EXPECT_EQ(screen.CheckBoxes[1]->Checked, 0);
  Click(screen.CheckBoxes[0]);
  EXPECT_EQ(screen.CheckBoxes[0]->Checked, 0);
  const C_Vector2D at = Centre(screen.Buttons[0]);
  Move(at.X, at.Y);
  EXPECT_EQ(screen.Buttons[0]->State, StateHovered);
  Press(at);
  EXPECT_EQ(screen.Buttons[0]->State, StatePressed);
  Release(at);
  EXPECT_EQ(screen.Buttons[0]->State, StateNormal);
}

TEST_F(BuiltFilesTest, AHeldArrowOfTheScrollSpaceRepeats) {
  REQUIRE_FILES();
  C_ScrollBar* across = Bar(screen.Space, PartSpaceHScroll, KindHScrollBar);
  ASSERT_EQ(across->Visible, 1);
  C_Widget* up = across->FindPart(PartStepUp, KindButton);
  const C_Vector2D at = Centre(up);
  Press(at);
  EXPECT_EQ(across->Value, 10);
  Tick(100.3, at);
  EXPECT_EQ(across->Value, 10);
  Tick(100.41, at);
  EXPECT_EQ(across->Value, 20);
  Tick(100.47, at);
  EXPECT_EQ(across->Value, 30);
  Release(at);
  C_Widget* content = screen.Space->FindPart(PartContent, KindPlain);
  EXPECT_EQ(content->ScrollOffset.X, 30);
}

TEST_F(BuiltFilesTest, TypingBringsTheTextBoxBarsAndDeletingTakesThemAway) {
  REQUIRE_FILES();
  C_Widget* area = screen.TextBox->FindPart(PartTextArea, KindPlain);
  C_ScrollBar* across = Bar(screen.TextBox, PartTextHScroll, KindHScrollBar);
  C_ScrollBar* down = Bar(screen.TextBox, PartTextVScroll, KindVScrollBar);
  EXPECT_EQ(across->Visible, 0);
  EXPECT_EQ(down->Visible, 0);
  Click(area);
  EXPECT_EQ(desktop.Focus, area);
  const std::string line(60, 'w');
  Type(line.c_str());
  EXPECT_EQ(std::string(area->Text.c_str()), "abc" + line);
  EXPECT_EQ(across->Visible, 1);
  for (int i = 0; i < 8; ++i) Key(SDLK_RETURN);
  EXPECT_EQ(down->Visible, 1);
  for (int i = 0; i < 68; ++i) Key(SDLK_BACKSPACE);
  EXPECT_EQ(std::string(area->Text.c_str()), "abc");
  EXPECT_EQ(across->Visible, 0);
  EXPECT_EQ(down->Visible, 0);
}

TEST_F(BuiltFilesTest, TheCaptionButtonsMinimiseRestoreAndRollUp) {
  REQUIRE_FILES();
  C_Form* form = screen.Form;
  const C_Rect normal = form->Rect;
  Click(CaptionButton(form, PartFrameNormal, PartMinimise));
  desktop.Layout();
  EXPECT_EQ(form->Mode, FormMinimised);
  EXPECT_EQ(form->Resolved.X1, 0);
  EXPECT_EQ(form->Resolved.Y2, 600);
  EXPECT_EQ(form->Resolved.X2, 160);
  Click(CaptionButton(form, PartFrameMinimised, PartRestore));
  EXPECT_EQ(form->Mode, FormNormal);
  EXPECT_EQ(form->Rect.X2, normal.X2);
  desktop.Layout();
  Click(CaptionButton(form, PartFrameNormal, PartRollUp));
  desktop.Layout();
  EXPECT_EQ(form->Mode, FormRolledUp);
  const C_Widget* rolled = Frame(form, PartFrameRolledUp);
  EXPECT_EQ(form->Resolved.Y2 - form->Resolved.Y1, rolled->Rect.Y2);
}

TEST_F(BuiltFilesTest, ReferencePicturesOfTheComposedScreen) {
  REQUIRE_FILES();
  EXPECT_TRUE(MatchesReference("built_start", PaintScreen()));
  Click(screen.Options[1]);
  Click(screen.CheckBoxes[1]);
  Click(screen.TextBox->FindPart(PartTextArea, KindPlain));
  Type(" and more");
  Click(Bar(screen.Space, PartSpaceVScroll, KindVScrollBar)->FindPart(PartPageUp, KindPlain));
  const C_Vector2D over = Centre(screen.Buttons[1]);
  Move(over.X, over.Y);
  Press(Centre(screen.Buttons[0]));
  EXPECT_TRUE(MatchesReference("built_in_use", PaintScreen()));
  Release(Centre(screen.Buttons[0]));
  Click(CaptionButton(screen.Form, PartFrameNormal, PartRollUp));
  EXPECT_TRUE(MatchesReference("built_rolled_up", PaintScreen()));
}

}  // namespace
