// The eleven widget files the skin builder writes: each loads as its class, saves
// back to its own bytes, clones into an independent tree, and holds the parts,
// zones, cursors and state looks that event routing acts on.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <vector>

#include "core/collection.h"
#include "font/font.h"
#include "font/render_text.h"
#include "graphics/geometry/anchor.h"
#include "graphics/geometry/resolve.h"
#include "platform/cursor.h"
#include "tests/skin/skin_test_support.h"
#include "tests/widget/skin_files.h"
#include "tests/widget/widget_test_support.h"
#include "widget/form.h"
#include "widget/scroll_bar.h"
#include "widget/text_box.h"

namespace {

using skin_files::LoadTemplate;
using widget_test::Ptr;

std::vector<uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// The zone actions of a widget's hit-tested list (slot 0's Layers).
std::set<int> Actions(const C_Widget* w) {
  std::set<int> actions;
  const C_Decal* d = w ? w->Decals[SlotNormal] : nullptr;
  for (uint32_t i = 0; d && d->Layers && i < d->Layers->Count; ++i) {
    if (auto* z = dynamic_cast<const C_Layer_Zone*>(d->Layers->Items[i])) {
      actions.insert(z->Action);
      EXPECT_GE(z->Cursor, CursorAppStarting);
      EXPECT_LE(z->Cursor, CursorWait);
    }
  }
  return actions;
}

bool HasSlots(const C_Widget* w, std::initializer_list<uint32_t> slots) {
  for (uint32_t s : slots)
    if (!w || !w->Decals[s] || !w->Decals[s]->Layers) return false;
  return true;
}

bool HasCheckedLook(const C_Widget* w) {
  return w && w->Decals[SlotNormal] && w->Decals[SlotNormal]->CheckedLayers &&
         w->Decals[SlotNormal]->CheckedLayers->Count > 0;
}

// A push button a click acts on: pressed and hover looks, a click zone.
void ExpectButton(const C_Widget* w, uint16_t part) {
  ASSERT_NE(w, nullptr) << "part " << part;
  EXPECT_EQ(w->Kind, KindButton);
  EXPECT_TRUE(HasSlots(w, {SlotNormal, SlotPressed, SlotHovered})) << "part " << part;
  EXPECT_EQ(w->Visible, 1);
}

void ExpectScrollBar(const C_Widget* w, uint16_t kind) {
  ASSERT_NE(w, nullptr);
  ASSERT_NE(dynamic_cast<const C_ScrollBar*>(w), nullptr);
  EXPECT_EQ(w->Kind, kind);
  EXPECT_NE(w->DragLimits.X1, -65535) << "a track in DragLimits";
  const C_Widget* thumb = w->FindPart(PartThumb, KindButton);
  ExpectButton(thumb, PartThumb);
  EXPECT_EQ(thumb->Movable, 1);
  EXPECT_EQ(Actions(thumb),
            (std::set<int>{kind == KindHScrollBar ? ZoneMoveHorizontal : ZoneMoveVertical}));
  for (uint16_t part : {PartStepDown, PartStepUp}) {
    ExpectButton(w->FindPart(part, KindButton), part);
    EXPECT_EQ(Actions(w->FindPart(part, KindButton)), std::set<int>{ZoneClick});
  }
  for (uint16_t part : {PartPageDown, PartPageUp}) {
    const C_Widget* page = w->FindPart(part, KindPlain);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(Actions(page), std::set<int>{ZoneClick});
  }
  EXPECT_EQ(DrawOrderAt(*w, w->ChildCount() - 1), thumb) << "the thumb is drawn on top";
}

void ExpectForm(const C_Widget* w, bool window) {
  ASSERT_NE(dynamic_cast<const C_Form*>(w), nullptr);
  EXPECT_EQ(w->Kind, KindForm);
  EXPECT_EQ(w->Page, 0) << "frame 4 is child 1";
  std::set<int> commands;
  for (uint16_t part = PartFrameNormal; part <= PartFrameRolledUp; ++part) {
    const C_Widget* frame = w->FindPart(part, KindPlain);
    ASSERT_NE(frame, nullptr) << part;
    EXPECT_STREQ(frame->Text.c_str(), w->Text.c_str());
    for (uint16_t c = PartMinimise; c <= PartRollUp; ++c) {
      if (const C_Widget* b = frame->FindPart(c, KindButton)) {
        ExpectButton(b, c);
        EXPECT_EQ(Actions(b), std::set<int>{ZoneClick});
        commands.insert(c);
      }
    }
  }
  if (!window) return;
  EXPECT_EQ(w->Movable, 1);
  EXPECT_EQ(w->Resizable, 1);
  EXPECT_EQ(commands, (std::set<int>{PartMinimise, PartRestore, PartMaximise, PartRollUp}));
  const C_Widget* normal = w->FindPart(PartFrameNormal, KindPlain);
  EXPECT_TRUE(HasSlots(normal, {SlotNormal, SlotActive}));
  EXPECT_EQ(Actions(normal),
            (std::set<int>{ZoneMove, ZoneLeftEdge, ZoneTopEdge, ZoneRightEdge, ZoneBottomEdge,
                           ZoneTopLeft, ZoneTopRight, ZoneBottomLeft, ZoneBottomRight}));
}

struct FileCase {
  const char* name;
  uint16_t classId;
  uint16_t kind;
  void (*check)(const C_Widget*);
};

const FileCase kFiles[] = {
    {"form", class_id::Form, KindForm, [](const C_Widget* w) { ExpectForm(w, true); }},
    {"vseparator", class_id::Widget, KindPlain,
     [](const C_Widget* w) { EXPECT_TRUE(HasSlots(w, {SlotNormal})); }},
    {"hseparator", class_id::Widget, KindGroupSeparator,
     [](const C_Widget* w) { EXPECT_TRUE(HasSlots(w, {SlotNormal})); }},
    {"frame", class_id::Form, KindForm, [](const C_Widget* w) { ExpectForm(w, false); }},
    {"button", class_id::Widget, KindButton,
     [](const C_Widget* w) {
       ExpectButton(w, PartNone);
       EXPECT_TRUE(HasSlots(w, {SlotActive}));
       EXPECT_EQ(Actions(w), std::set<int>{ZoneClick});
       EXPECT_TRUE(HasCheckedLook(w));
     }},
    {"option", class_id::Widget, KindOption,
     [](const C_Widget* w) {
       EXPECT_TRUE(HasSlots(w, {SlotNormal, SlotPressed, SlotHovered}));
       EXPECT_EQ(Actions(w), std::set<int>{ZoneClick});
       EXPECT_TRUE(HasCheckedLook(w));
       EXPECT_GT(w->Decals[0]->CheckedLayers->Count, w->Decals[0]->Layers->Count - 1);
     }},
    {"checkbox", class_id::Widget, KindCheckBox,
     [](const C_Widget* w) {
       EXPECT_TRUE(HasSlots(w, {SlotNormal, SlotPressed, SlotHovered}));
       EXPECT_EQ(Actions(w), std::set<int>{ZoneClick});
       EXPECT_TRUE(HasCheckedLook(w));
     }},
    {"hscroll", class_id::ScrollBar, KindHScrollBar,
     [](const C_Widget* w) { ExpectScrollBar(w, KindHScrollBar); }},
    {"vscroll", class_id::ScrollBar, KindVScrollBar,
     [](const C_Widget* w) { ExpectScrollBar(w, KindVScrollBar); }},
    {"textbox", class_id::TextBox, KindTextBox,
     [](const C_Widget* w) {
       EXPECT_EQ(static_cast<const C_TextBox*>(w)->ScrollBars, 1);
       const C_Widget* area = w->FindPart(PartTextArea, KindPlain);
       ASSERT_NE(area, nullptr);
       const C_Layer_Text* text = area->FindTextLayer();
       ASSERT_NE(text, nullptr);
       EXPECT_EQ(text->Editable, 1);
       EXPECT_EQ(text->UseWidgetText, 1);
       EXPECT_EQ(Actions(area), std::set<int>{ZoneEditText});
       ExpectScrollBar(w->FindPart(PartTextHScroll, KindHScrollBar), KindHScrollBar);
       ExpectScrollBar(w->FindPart(PartTextVScroll, KindVScrollBar), KindVScrollBar);
     }},
    {"scrollspace", class_id::Widget, KindScrollSpace,
     [](const C_Widget* w) {
       EXPECT_NE(w->FindPart(PartContent, KindPlain), nullptr);
       ExpectScrollBar(w->FindPart(PartSpaceHScroll, KindHScrollBar), KindHScrollBar);
       ExpectScrollBar(w->FindPart(PartSpaceVScroll, KindVScrollBar), KindVScrollBar);
     }},
};

// Every widget of the tree.
void Walk(const C_Widget* w, std::vector<const C_Widget*>& out) {
  out.push_back(w);
  for (uint32_t i = 0; i < w->ChildCount(); ++i) Walk(w->ChildAt(i), out);
}

}  // namespace

TEST(BuiltFiles, EachFileLoadsSavesClonesAndHoldsItsParts) {
  for (const FileCase& c : kFiles) {
    SCOPED_TRACE(c.name);
    const std::vector<uint8_t> bytes = FileBytes(skin_files::PathOf(c.name));
    ASSERT_FALSE(bytes.empty()) << "the build writes " << skin_files::PathOf(c.name);
    Ptr<C_Widget> widget(LoadTemplate(c.name));
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->GetClassId(), c.classId);
    EXPECT_EQ(widget->Kind, c.kind);
    EXPECT_EQ(skin_test::SaveBytes(*widget), bytes);

    Ptr<C_Widget> clone(static_cast<C_Widget*>(widget->Clone()));
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(skin_test::SaveBytes(*clone), bytes);
    std::vector<const C_Widget*> originals, copies;
    Walk(widget.get(), originals);
    Walk(clone.get(), copies);
    ASSERT_EQ(originals.size(), copies.size());
    for (size_t i = 0; i < copies.size(); ++i) {
      EXPECT_NE(copies[i], originals[i]);
      for (int s = 0; s < kDecalSlots; ++s) {
        if (copies[i]->Decals[s]) {
          EXPECT_NE(copies[i]->Decals[s], originals[i]->Decals[s]);
        }
      }
      for (uint32_t k = 0; k < copies[i]->ChildCount(); ++k)
        EXPECT_EQ(copies[i]->ChildAt(k)->Parent, copies[i]);
    }
    clone->SetText("changed");
    EXPECT_EQ(skin_test::SaveBytes(*widget), bytes) << "the original is untouched";

    c.check(widget.get());
  }
}

// Every text layer names a face the font pack holds.
TEST(BuiltFiles, TextLayersNameFontsOfThePack) {
  C_Collection* fonts = skin_files::Fonts();
  ASSERT_NE(fonts, nullptr);
  int texts = 0;
  for (const FileCase& c : kFiles) {
    Ptr<C_Widget> widget(LoadTemplate(c.name));
    ASSERT_NE(widget, nullptr);
    std::vector<const C_Widget*> all;
    Walk(widget.get(), all);
    for (const C_Widget* w : all) {
      for (const C_Decal* d : w->Decals) {
        for (const C_Collection* list : {d ? d->Layers : nullptr, d ? d->CheckedLayers : nullptr}) {
          for (uint32_t i = 0; list && i < list->Count; ++i) {
            if (auto* t = dynamic_cast<const C_Layer_Text*>(list->Items[i])) {
              ++texts;
              EXPECT_GE(fonts->FindByName(t->Font.Name.c_str()), 0) << c.name;
            }
          }
        }
      }
    }
  }
  EXPECT_GT(texts, 20);
}

// The demo's six option labels show whole, without an ellipsis, in the label area
// of an option or a check box as wide as the demo's options (100 pixels).
TEST(BuiltFiles, OptionsAndCheckBoxesShowTheDemoLabelsWhole) {
  C_Collection* fonts = skin_files::Fonts();
  ASSERT_NE(fonts, nullptr);
  const C_Rect option(0.0f, 0.0f, 100.0f, 36.0f, kAnchorResolved, kAnchorResolved);
  int measured = 0;
  for (const char* name : {"option", "checkbox"}) {
    Ptr<C_Widget> widget(LoadTemplate(name));
    ASSERT_NE(widget, nullptr);
    for (const C_Decal* d : widget->Decals) {
      for (const C_Collection* list : {d ? d->Layers : nullptr, d ? d->CheckedLayers : nullptr}) {
        for (uint32_t i = 0; list && i < list->Count; ++i) {
          auto* t = dynamic_cast<const C_Layer_Text*>(list->Items[i]);
          if (!t) continue;
          const int32_t face = fonts->FindByName(t->Font.Name.c_str());
          ASSERT_GE(face, 0);
          C_Rect area = t->Area;
          ResolveRect(area, option, nullptr, nullptr);
          C_TextFormat whole = t->Format;  // measured uncut
          whole.Ellipsis = 0;
          for (const char* label :
               {"Lumps", "Blobs", "Perlin Noise", "Height Map", "Normal Map", "BumpMapping"}) {
            const C_String text(label);
            TextLayout layout;
            TextRequest r;
            r.LayoutRect = area;
            r.Text = &text;
            r.Font = static_cast<C_Font*>(fonts->GetAt(static_cast<uint32_t>(face)));
            r.Type = &t->Font;
            r.Format = &whole;
            r.MeasureOnly = 1;
            r.Layout = &layout;
            r.Viewport = &option;
            ASSERT_TRUE(RenderText(r)) << label;
            EXPECT_EQ(layout.LineCount, 1) << name << ": " << label;
            EXPECT_LE(layout.ExtentWidth, layout.VisibleWidth) << name << ": " << label;
            ++measured;
          }
        }
      }
    }
  }
  EXPECT_GT(measured, 0);
}
