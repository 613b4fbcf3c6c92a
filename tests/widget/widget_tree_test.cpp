// The widget tree: copies, relinking, adding, finding, text, set-up, preparation,
// forms selecting their frames, and the scroll bar's thumb arithmetic.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/collection.h"
#include "graphics/api/graphic_api.h"
#include "graphics/geometry/anchor.h"
#include "tests/skin/skin_test_support.h"
#include "tests/widget/widget_test_support.h"
#include "widget/desktop.h"
#include "widget/form.h"
#include "widget/gallery.h"
#include "widget/scroll_bar.h"
#include "widget/text_box.h"

namespace {

using skin_test::SaveBytes;
using widget_test::Named;
using widget_test::Ptr;

std::vector<std::string> visited;
void Visit(C_Widget* w) {
  visited.push_back(w->Name.c_str());
}

}  // namespace

TEST(WidgetTree, CloneIsIndependentAndLinked) {
  C_Widget root;
  C_Widget* a = Named("a");
  root.AddChild(a);
  a->AddChild(Named("a1"));
  root.AddChild(Named("b"));
  root.Decals[2] = widget_test::ZoneDecal(ZoneMove);
  root.Opacity = 0.5f;
  root.SpareRect = C_Rect(1, 2, 3, 4);
  C_String attachment("caller's");
  root.Attachment = &attachment;

  Ptr<C_Widget> clone(static_cast<C_Widget*>(root.Clone()));
  ASSERT_NE(clone, nullptr);
  EXPECT_EQ(SaveBytes(*clone), SaveBytes(root));
  ASSERT_EQ(clone->ChildCount(), 2u);
  C_Widget* ca = clone->ChildAt(0);
  EXPECT_NE(ca, a);
  EXPECT_EQ(ca->Parent, clone.get());
  EXPECT_EQ(ca->ChildAt(0)->Parent, ca);
  EXPECT_NE(clone->Decals[2], root.Decals[2]);
  EXPECT_EQ(DrawOrderAt(*clone, 1), clone->ChildAt(1));
  ASSERT_NE(clone->Attachment, nullptr);
  EXPECT_NE(clone->Attachment, &attachment);
  root.Attachment = nullptr;
  a->Name.Assign(C_String("changed"));
  EXPECT_STREQ(ca->Name.c_str(), "a");

  // Derived classes clone as themselves, with their fields, also as children.
  C_Widget holder;
  auto* bar = new C_ScrollBar();
  bar->Value = 9;
  holder.AddChild(bar);
  Ptr<C_Widget> copy(static_cast<C_Widget*>(holder.Clone()));
  auto* barCopy = dynamic_cast<C_ScrollBar*>(copy->ChildAt(0));
  ASSERT_NE(barCopy, nullptr);
  EXPECT_EQ(barCopy->Value, 9);
}

TEST(WidgetTree, ACloneStartsWithoutAParentAndCanBeAdded) {
  C_Widget* (*const makers[])() = {
      [] { return new C_Widget(); },
      []() -> C_Widget* { return new C_Form(); },
      []() -> C_Widget* { return new C_ScrollBar(); },
      []() -> C_Widget* { return new C_TextBox(); },
  };
  for (auto make : makers) {
    C_Widget parent;
    C_Widget* original = make();
    original->AddChild(Named("inner"));
    ASSERT_TRUE(parent.AddChild(original));
    Ptr<C_Widget> clone(static_cast<C_Widget*>(original->Clone()));
    SCOPED_TRACE(clone->GetClassId());
    EXPECT_EQ(clone->Parent, nullptr);
    EXPECT_EQ(clone->ChildAt(0)->Parent, clone.get());
    C_Widget other;
    ASSERT_TRUE(other.AddChild(clone.get()));
    EXPECT_EQ(clone->Parent, &other);
    clone.release();  // other owns it now
    // Copied over a widget in a tree, the widget keeps its own place.
    C_Widget* placed = make();
    ASSERT_TRUE(other.AddChild(placed));
    original->CopyTo(placed);
    EXPECT_EQ(placed->Parent, &other);
  }
}

TEST(WidgetTree, AWidgetDeletesItsOwnDrawingInterface) {
  C_Widget widget;
  widget.Api = new C_GraphicApi();
  widget.Api->Attach(&widget.Owner);
  ASSERT_EQ(widget.Owner.ChildApi, widget.Api);
  widget.Release();
  EXPECT_EQ(widget.Api, nullptr);
  EXPECT_EQ(widget.Owner.ChildApi, nullptr);  // detached as it was deleted
}

TEST(WidgetTree, FindWidgetSearchesDepthFirst) {
  C_Widget root;
  C_Widget* a = Named("a");
  root.AddChild(a);
  C_Widget* deepX = Named("x", KindOption);
  a->AddChild(Named("a1"));
  a->ChildAt(0)->AddChild(deepX);
  C_Widget* x = Named("x", KindOption);
  root.AddChild(x);
  EXPECT_EQ(root.FindWidget("x", 0, KindOption, false), x);
  EXPECT_EQ(root.FindWidget("x", 0, KindOption, true), deepX);
  EXPECT_EQ(root.FindWidget("x", 0, KindButton, true), nullptr);
  EXPECT_EQ(root.FindWidget("x", 1, KindOption, true), nullptr);
  EXPECT_EQ(root.FindWidget("a1", 0, KindPlain, false), nullptr);
  EXPECT_EQ(root.FindWidget(nullptr, 0, KindPlain, true), nullptr);
}

TEST(WidgetTree, AddChildToScrollSpacesPagesAndNoCycles) {
  C_Widget space;
  space.Kind = KindScrollSpace;
  C_Widget* content = Named("content", KindPlain, PartContent);
  ASSERT_TRUE(space.AddChild(content));
  C_Widget* item = Named("item");
  ASSERT_TRUE(space.AddChild(item));
  EXPECT_EQ(item->Parent, content);
  EXPECT_EQ(space.ActiveChild, item);
  EXPECT_EQ(space.ChildCount(), 1u);

  C_Widget paged;
  paged.AddChild(Named("client"));
  paged.Page = 0;
  C_Widget* late = Named("late");
  ASSERT_TRUE(paged.AddChild(late));
  EXPECT_EQ(late->Parent, paged.ChildAt(0));
  EXPECT_EQ(paged.ChildCount(), 1u);

  EXPECT_FALSE(content->AddChild(&space)) << "an ancestor";
  EXPECT_FALSE(item->AddChild(item)) << "itself";
  EXPECT_FALSE(paged.AddChild(item)) << "already in a tree";
  EXPECT_FALSE(paged.AddChild(nullptr));
}

TEST(WidgetTree, SetTextAndSetup) {
  C_Widget form;
  form.Kind = KindForm;
  for (uint16_t p : {PartFrameNormal, PartFrameMinimised, PartFrameMaximised, PartFrameRolledUp})
    form.AddChild(Named("frame", KindPlain, p));
  form.Setup(C_Rect(1, 2, 3, 4), "Main", "Options");
  EXPECT_STREQ(form.Name.c_str(), "Main");
  for (uint32_t i = 0; i < 4; ++i) EXPECT_STREQ(form.ChildAt(i)->Text.c_str(), "Options");
  EXPECT_EQ(form.BaseX2, 3);
  EXPECT_EQ(form.BaseY2, 4);
  EXPECT_EQ(form.Visible, 1);
  EXPECT_EQ(form.SetUpFlag, 1);

  C_Widget box;
  box.Kind = KindTextBox;
  box.AddChild(Named("area", KindPlain, PartTextArea));
  box.Movable = box.Resizable = 1;
  box.Tag = 5;
  box.Setup(C_Rect(), "Box", "hello");
  EXPECT_STREQ(box.ChildAt(0)->Text.c_str(), "hello");
  EXPECT_EQ(box.Movable + box.Resizable + box.Tag, 0u);

  C_Widget page;
  page.Kind = KindButton;
  page.Checked = 1;
  page.SetupPage(C_Rect(0, 0, 800, 600), C_Rect(0, 0, 800, 600), "root");
  EXPECT_EQ(page.Kind, KindPlain);
  EXPECT_EQ(page.Checked, 0);
  EXPECT_EQ(page.ClientRect.X2, 800);
}

TEST(WidgetTree, FindTextLayerAndPart) {
  C_Widget w;
  EXPECT_EQ(w.FindTextLayer(), nullptr);
  w.Decals[0] = new C_Decal();
  w.Decals[0]->Layers = new C_Collection();
  w.Decals[0]->Layers->Append(new C_Layer_Zone());
  auto* text = new C_Layer_Text();
  w.Decals[0]->Layers->Append(text);
  w.Decals[0]->Layers->Append(new C_Layer_Text());
  EXPECT_EQ(w.FindTextLayer(), text);
  w.AddChild(Named("t", KindButton, PartThumb));
  EXPECT_NE(w.FindPart(PartThumb, KindButton), nullptr);
  EXPECT_EQ(w.FindPart(PartThumb, KindPlain), nullptr);
}

TEST(WidgetTree, PrepareAndUnprepareVisitOnce) {
  C_Widget root;
  root.Name.Assign(C_String("root"));
  root.AddChild(Named("a"));
  root.ChildAt(0)->AddChild(Named("a1"));
  root.Rect = C_Rect(1, 2, 3, 4);
  visited.clear();
  root.Prepare(Visit);
  root.Prepare(Visit);
  EXPECT_EQ(visited, (std::vector<std::string>{"root", "a", "a1"}));
  EXPECT_EQ(root.WorkRect.X2, 3);
  visited.clear();
  root.Unprepare(Visit);
  root.Unprepare(Visit);
  EXPECT_EQ(visited.size(), 3u);
  EXPECT_EQ(root.Prepared, 0);
}

// Child 0 is the client; frames 4 to 7 follow, so mode m shows child m + 1 and
// Page = m.
TEST(FormPrepare, PlacesByModeAndSelectsTheFrame) {
  // A rolled-up form is as high as frame 7 (18): a bottom given as a height (the
  // vertical code of the second anchor, whatever the horizontal one) takes it, a
  // bottom given as a position lies 18 below the top.
  struct Case {
    uint8_t mode;
    uint8_t given;  // the form's second anchor
    int32_t page;
    uint8_t anchor1, anchor2;
    float y2;
  } cases[] = {
      {FormNormal, 0x33, 0, 0x00, 0x33, 80},     // left as it is
      {FormMinimised, 0x33, 1, 0x10, 0x10, 80},  // from the parent's bottom
      {FormMaximised, 0x33, 2, 0x00, 0x11, 0},   // filling the parent
      {FormRolledUp, 0x33, 3, 0x00, 0x33, 18},   // the form template's anchors
      {FormRolledUp, 0x30, 3, 0x00, 0x30, 18},   // a height, position from the left
      {FormRolledUp, 0x53, 3, 0x00, 0x53, 18},   // a height by the second size code
      {FormRolledUp, 0x00, 3, 0x00, 0x00, 28},   // a position: the top + 18
  };
  for (const Case& c : cases) {
    C_Widget parent;
    auto* form = new C_Form();
    form->Kind = KindForm;
    form->Mode = c.mode;
    form->Rect = C_Rect(5.0f, 10.0f, 100.0f, 80.0f, 0x00, c.given);
    form->AddChild(Named("client"));
    for (uint16_t p = PartFrameNormal; p <= PartFrameRolledUp; ++p) {
      C_Widget* frame = Named("frame", KindPlain, p);
      frame->Rect = C_Rect(0.0f, 0.0f, 0.0f, 18.0f, 0x00, 0x31);
      form->AddChild(frame);
    }
    parent.AddChild(form);
    form->Prepare(nullptr);
    SCOPED_TRACE(std::to_string(c.mode) + " " + std::to_string(c.given));
    EXPECT_EQ(form->Page, c.page);
    EXPECT_EQ(form->Rect.Anchor1, c.anchor1);
    EXPECT_EQ(form->Rect.Anchor2, c.anchor2);
    EXPECT_EQ(form->Rect.Y2, c.y2);
    EXPECT_EQ(form->SavedRect.Y2, 80);
    EXPECT_EQ(form->Prepared, 1);
  }
  // Outside a tree the form is not placed.
  C_Form alone;
  alone.Mode = FormMaximised;
  alone.Rect = C_Rect(1, 2, 3, 4);
  alone.Prepare(nullptr);
  EXPECT_EQ(alone.Rect.X2, 3);
  EXPECT_EQ(alone.Page, -1);
}

TEST(ScrollBarThumb, Arithmetic) {
  struct Case {
    float track, minimum, maximum, page, value;
    float length, start;
  } cases[] = {
      {100, 0, 300, 50, 0, 16, 0},      // 14 raised to 16
      {100, 0, 300, 50, 300, 16, 84},   // far edge at the track's far edge
      {200, 0, 100, 100, 50, 100, 50},  // half the track
      {200, 10, 110, 100, 110, 100, 100},
      {100, 5, 5, 50, 5, 100, 0},  // empty range: whole track, at the start
      {100, 5, 1, 50, 3, 100, 0},  // inverted range counts as empty
      {10, 0, 100, 10, 0, 16, 0},  // short track: still 16
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.track);
    const float t = ThumbLength(c.track, c.minimum, c.maximum, c.page);
    EXPECT_EQ(t, c.length);
    const float start = ThumbStart(c.value, c.minimum, c.maximum, 0, c.track, t);
    EXPECT_EQ(start, c.start);
    // The value read back from the thumb is the value (Minimum for an empty range).
    const float back = ValueFromThumb(start, 0, c.track, t, c.minimum, c.maximum);
    if (c.maximum > c.minimum && c.track > t)
      EXPECT_NEAR(back, c.value, 1e-3);
    else
      EXPECT_EQ(back, c.minimum);
    EXPECT_TRUE(std::isfinite(back));
  }
  EXPECT_EQ(ThumbStart(0, 0, 300, 20, 100, 16), 20) << "offset by the track's start";
}

TEST(ScrollBarThumb, PlaceThumbOnTheBarsPart) {
  C_ScrollBar bar;
  bar.Kind = KindVScrollBar;
  bar.Value = 300;
  C_Widget* thumb = Named("thumb", KindButton, PartThumb);
  bar.AddChild(thumb);
  ASSERT_TRUE(
      PlaceThumb(bar, C_Rect(0.0f, 16.0f, 16.0f, 116.0f, kAnchorResolved, kAnchorResolved)));
  EXPECT_EQ(thumb->Rect.Y2, 16);
  EXPECT_EQ(thumb->Rect.Y1, 16 + 84);
  bar.Kind = KindButton;
  EXPECT_FALSE(PlaceThumb(bar, C_Rect()));
  C_ScrollBar bare;
  bare.Kind = KindHScrollBar;
  EXPECT_FALSE(PlaceThumb(bare, C_Rect()));
}

// Templates read from files may be of any class: one of another class than its
// kind needs (a plain widget for the form, a form for the text box and the button)
// is passed over, and that kind's widgets are made in code.
TEST(Gallery, TemplatesOfAnotherClassThanTheirKindAreMadeInCode) {
  C_Desktop desktop;
  desktop.CreatePage();
  Ptr<C_Widget> plain(MakeTemplate(TemplateButton, "Boxes"));
  Ptr<C_Widget> form(MakeTemplate(TemplateForm, "Boxes"));
  GalleryTemplates templates;
  templates.Items[TemplateForm] = plain.get();
  templates.Items[TemplateTextBox] = form.get();
  templates.Items[TemplateButton] = form.get();
  templates.Items[TemplateOption] = plain.get();
  const Gallery gallery = BuildGallery(desktop, "Boxes", &templates);
  ASSERT_NE(gallery.Form, nullptr);
  ASSERT_NE(gallery.TextBox, nullptr);
  ASSERT_NE(gallery.Buttons[0], nullptr);
  EXPECT_EQ(gallery.Buttons[0]->GetClassId(), class_id::Widget);
  EXPECT_NE(gallery.Buttons[0]->Decals[SlotNormal], nullptr);
  // The fitting template is cloned: the option keeps the button's look and kind.
  EXPECT_EQ(gallery.Options[0]->Kind, plain->Kind);
  for (BasicTemplate which : {TemplateForm, TemplateHScroll, TemplateTextBox, TemplateOption}) {
    EXPECT_FALSE(TemplateFits(which, nullptr));
    widget_test::Ptr<C_Widget> made(MakeTemplate(which, "Boxes"));
    EXPECT_TRUE(TemplateFits(which, made.get())) << which;
    EXPECT_EQ(TemplateFits(which, plain.get()), TemplateClassId(which) == class_id::Widget);
  }
}
