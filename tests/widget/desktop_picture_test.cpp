// Reference pictures of the composed screen: the gallery painted in a few states
// and compared pixel for pixel with the pictures in tests/widget/pictures/desktop.
#include <gtest/gtest.h>

#include "tests/widget/desktop_pictures.h"
#include "tests/widget/desktop_test_support.h"

namespace {

using desktop_test::Centre;
using desktop_test::DesktopTest;
using desktop_test::MatchesReference;

using PictureTest = DesktopTest;

TEST_F(PictureTest, TheGalleryAsItStarts) {
  EXPECT_TRUE(MatchesReference("gallery_start", PaintScreen()));
}

// A hovered button, a pressed option, checked boxes, the text box focused with
// its caret and both bars, and the scroll space scrolled.
TEST_F(PictureTest, TheGalleryInUse) {
  Click(gallery.Options[2]);
  Click(gallery.Options[4]);
  Click(gallery.CheckBoxes[1]);
  Click(TextArea());
  Type("more text on a line that runs past the right edge of the box");
  C_ScrollBar* across = Bar(gallery.ScrollSpace, PartSpaceHScroll, KindHScrollBar);
  Click(across->FindPart(PartPageUp, KindPlain));
  const C_Vector2D over = Centre(gallery.Buttons[1]);
  Move(over.X, over.Y);
  ASSERT_EQ(gallery.Buttons[1]->State, StateHovered);
  Press(Centre(gallery.Buttons[0]));
  // Still hovered in the picture: a press elsewhere leaves the hover look.
  EXPECT_EQ(gallery.Buttons[0]->State, StatePressed);
  EXPECT_TRUE(MatchesReference("gallery_in_use", PaintScreen()));
  Release(Centre(gallery.Buttons[0]));
}

// A minimised form docked at the bottom, a second one rolled up and a third
// without the window's activation.
TEST_F(PictureTest, FormsInTheirModes) {
  C_Form* rolled = static_cast<C_Form*>(
      MakeWidget(TemplateForm, "Boxes", FormRect(420, 60, 760, 300), "rolled", "rolled up"));
  C_Form* plain = static_cast<C_Form*>(
      MakeWidget(TemplateForm, "Boxes", FormRect(420, 200, 780, 200), "plain", "a form"));
  ASSERT_TRUE(desktop.Root->AddChild(rolled));
  ASSERT_TRUE(desktop.Root->AddChild(plain));
  desktop.PrepareAll();
  desktop.RunFormCommand(gallery.Form, PartMinimise);
  desktop.RunFormCommand(rolled, PartRollUp);
  EXPECT_TRUE(MatchesReference("forms_modes", PaintScreen()));
  window.Owner.Active = 0;
  EXPECT_TRUE(MatchesReference("forms_inactive_window", PaintScreen()));
}

}  // namespace
