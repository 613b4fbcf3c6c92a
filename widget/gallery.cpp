// The flat templates and the gallery tree.
//
// Sections: layer and decal helpers; simple widgets; scroll bars; composites;
// forms; the gallery.
#include "widget/gallery.h"

#include <new>

#include "core/collection.h"
#include "graphics/geometry/anchor.h"
#include "platform/cursor.h"
#include "skin/decal.h"
#include "widget/desktop.h"
#include "widget/form.h"
#include "widget/scroll_bar.h"
#include "widget/text_box.h"

namespace {

// --- layer and decal helpers ----------------------------------------------------------

constexpr uint8_t kStartStart = MakeAnchor(AnchorStart, AnchorStart);  // 0x00
constexpr uint8_t kEndEnd = MakeAnchor(AnchorEnd, AnchorEnd);          // 0x11
constexpr uint8_t kSizes = MakeAnchor(AnchorExtent, AnchorExtent);     // 0x33
constexpr uint8_t kFromRight = MakeAnchor(AnchorEnd, AnchorStart);     // 0x01
constexpr uint8_t kFromBottom = MakeAnchor(AnchorStart, AnchorEnd);    // 0x10
constexpr float kCaption = 20;
constexpr float kBar = kBarThickness;

// Every coordinate as a float, whatever literal it is written with.
C_Rect R(float x1, float y1, float x2, float y2, uint8_t anchor1, uint8_t anchor2) {
  return C_Rect(x1, y1, x2, y2, anchor1, anchor2);
}

C_Rect Fill(float inset = 0) {
  return R(inset, inset, -inset, -inset, kStartStart, kEndEnd);
}

C_Color Grey(float level) {
  return C_Color(level, level, level, 1);
}

const C_Color kInk(0, 0, 0, 1);
const C_Color kCaptionBlue(0.25f, 0.35f, 0.6f, 1);
const C_Color kWhite(1, 1, 1, 1);

C_Layer_Rect* RectLayer(const C_Rect& area, const C_Color& fill, const C_Color& border) {
  auto* layer = new (std::nothrow) C_Layer_Rect();
  if (!layer) return nullptr;
  layer->Area = area;
  layer->FillColor = fill;
  layer->FillSource = kColorSourceOwn;
  layer->BorderColor = border;
  layer->BorderSource = kColorSourceOwn;
  return layer;
}

C_Layer_Text* TextLayer(const C_Rect& area, const char* font, const C_Color& color) {
  auto* layer = new (std::nothrow) C_Layer_Text();
  if (!layer) return nullptr;
  layer->Area = area;
  layer->Font.Name.Assign(C_String(font));
  layer->Font.Size = 10;
  layer->TextColor = color;
  layer->TextSource = kColorSourceOwn;
  layer->UseWidgetText = 1;
  return layer;
}

C_Layer_Zone* ZoneLayer(const C_Rect& area, uint8_t action, uint8_t cursor = CursorArrow) {
  auto* zone = new (std::nothrow) C_Layer_Zone();
  if (!zone) return nullptr;
  zone->Area = area;
  zone->Action = action;
  zone->Cursor = cursor;
  return zone;
}

C_Collection* List(std::initializer_list<C_Object*> layers) {
  auto* list = new (std::nothrow) C_Collection();
  if (!list) return nullptr;
  for (C_Object* layer : layers) {
    if (layer) list->Append(layer);
  }
  return list;
}

C_Decal* Decal(std::initializer_list<C_Object*> layers,
               std::initializer_list<C_Object*> checked = {}) {
  auto* decal = new (std::nothrow) C_Decal();
  if (!decal) return nullptr;
  decal->Layers = List(layers);
  if (checked.size() > 0) decal->CheckedLayers = List(checked);
  return decal;
}

// A button face: framed rectangle of the shade and the caption centred.
C_Decal* Face(float shade, const char* font, uint8_t action) {
  C_Layer_Text* text = TextLayer(Fill(2), font, kInk);
  if (text) text->Format.Align = AlignCentre;
  return Decal({RectLayer(Fill(), Grey(shade), Grey(0.3f)), text,
                action ? ZoneLayer(Fill(), action) : nullptr});
}

template <class T>
T* New(uint16_t kind, uint16_t part = PartNone) {
  auto* w = new (std::nothrow) T();
  if (!w) return nullptr;
  w->Kind = kind;
  w->PartId = part;
  w->Visible = 1;
  w->ClientRect = Fill();
  return w;
}

void Add(C_Widget* parent, C_Widget* child) {
  if (!parent || !child) return;
  if (!parent->AddChild(child)) DeleteOwnedObject(child);
}

// --- simple widgets ---------------------------------------------------------------------

C_Widget* MakeButton(const char* font, uint16_t part = PartNone) {
  C_Widget* w = New<C_Widget>(KindButton, part);
  if (!w) return nullptr;
  w->Decals[SlotNormal] = Face(0.82f, font, ZoneClick);
  w->Decals[SlotPressed] = Face(0.6f, font, 0);
  w->Decals[SlotHovered] = Face(0.92f, font, 0);
  return w;
}

// An option or check box: a mark box at the left, the text beside it; the checked
// list adds the mark.
C_Widget* MakeMarked(uint16_t kind, const char* font) {
  C_Widget* w = New<C_Widget>(kind);
  if (!w) return nullptr;
  const C_Rect box = R(1, 2, 12, 12, kStartStart, kSizes);
  const C_Rect mark = R(4, 5, 6, 6, kStartStart, kSizes);
  const C_Rect label = R(17, 0, 0, 0, kStartStart, kEndEnd);
  for (uint32_t slot : {SlotNormal, SlotHovered}) {
    const C_Color back = slot == SlotHovered ? Grey(0.95f) : kWhite;
    w->Decals[slot] = Decal(
        {RectLayer(box, back, kInk), TextLayer(label, font, kInk),
         slot == SlotNormal ? ZoneLayer(Fill(), ZoneClick) : nullptr},
        {RectLayer(box, back, kInk), RectLayer(mark, kInk, kInk), TextLayer(label, font, kInk)});
  }
  return w;
}

C_Widget* MakeSeparator() {
  C_Widget* w = New<C_Widget>(KindGroupSeparator);
  if (!w) return nullptr;
  w->Decals[SlotNormal] = Decal({RectLayer(
      R(0, 0, 0, 2, kStartStart, MakeAnchor(AnchorEnd, AnchorExtent)), Grey(0.5f), Grey(0.5f))});
  return w;
}

// --- scroll bars ----------------------------------------------------------------------

// Parts 19 to 22 and the thumb along a track between two arrow buttons.
C_ScrollBar* MakeScrollBar(uint16_t kind, const char* font) {
  auto* bar = New<C_ScrollBar>(kind);
  if (!bar) return nullptr;
  const bool across = kind == KindHScrollBar;
  bar->Decals[SlotNormal] = Decal({RectLayer(Fill(), Grey(0.75f), Grey(0.5f))});
  bar->DragLimits = across ? R(kBar, 0, -kBar, 0, kStartStart, kEndEnd)
                           : R(0, kBar, 0, -kBar, kStartStart, kEndEnd);
  // Page halves under the thumb, then the arrows, then the thumb on top.
  C_Widget* pageDown = New<C_Widget>(KindPlain, PartPageDown);
  C_Widget* pageUp = New<C_Widget>(KindPlain, PartPageUp);
  for (C_Widget* page : {pageDown, pageUp}) {
    if (page) page->Decals[SlotNormal] = Decal({ZoneLayer(Fill(), ZoneClick)});
  }
  const uint8_t half = across ? MakeAnchor(AnchorFractionOfStart, AnchorEnd)
                              : MakeAnchor(AnchorEnd, AnchorFractionOfStart);
  if (pageDown) {
    pageDown->Rect =
        across ? R(kBar, 0, 0.5f, 0, kStartStart, half) : R(0, kBar, 0, 0.5f, kStartStart, half);
  }
  if (pageUp) {
    pageUp->Rect =
        across ? R(0.5f, 0, -kBar, 0, MakeAnchor(AnchorFractionOfStart, AnchorStart), kEndEnd)
               : R(0, 0.5f, 0, -kBar, MakeAnchor(AnchorStart, AnchorFractionOfStart), kEndEnd);
  }
  C_Widget* down = MakeButton(font, PartStepDown);
  C_Widget* up = MakeButton(font, PartStepUp);
  if (down) down->Rect = R(0, 0, kBar, kBar, kStartStart, kSizes);
  if (up) {
    up->Rect = across ? R(-kBar, 0, kBar, kBar, kFromRight, kSizes)
                      : R(0, -kBar, kBar, kBar, kFromBottom, kSizes);
  }
  C_Widget* thumb = New<C_Widget>(KindButton, PartThumb);
  if (thumb) {
    thumb->Decals[SlotNormal] =
        Decal({RectLayer(Fill(), Grey(0.55f), Grey(0.3f)),
               ZoneLayer(Fill(), across ? ZoneMoveHorizontal : ZoneMoveVertical)});
    thumb->Decals[SlotPressed] = Decal({RectLayer(Fill(), Grey(0.4f), Grey(0.2f))});
    thumb->Movable = 1;
    thumb->Rect = across ? R(kBar, 0, kMinThumbLength, kBar, kStartStart, kSizes)
                         : R(0, kBar, kBar, kMinThumbLength, kStartStart, kSizes);
  }
  for (C_Widget* part : {pageDown, pageUp, down, up, thumb}) Add(bar, part);
  return bar;
}

// --- composites -----------------------------------------------------------------------

// A horizontal bar along the bottom and a vertical one down the right edge.
void AddBars(C_Widget* composite, uint16_t acrossPart, uint16_t downPart, const char* font) {
  C_ScrollBar* across = MakeScrollBar(KindHScrollBar, font);
  C_ScrollBar* down = MakeScrollBar(KindVScrollBar, font);
  if (across) {
    across->PartId = acrossPart;
    across->Rect = R(0, -kBar, 0, 0, kFromBottom, kEndEnd);
  }
  if (down) {
    down->PartId = downPart;
    down->Rect = R(-kBar, 0, 0, 0, kFromRight, kEndEnd);
  }
  Add(composite, across);
  Add(composite, down);
}

C_TextBox* MakeTextBox(const char* font) {
  auto* box = New<C_TextBox>(KindTextBox);
  if (!box) return nullptr;
  box->ScrollBars = 1;
  box->Decals[SlotNormal] = Decal({RectLayer(Fill(), kWhite, Grey(0.3f))});
  C_Widget* area = New<C_Widget>(KindPlain, PartTextArea);
  if (area) {
    area->Rect = Fill();
    C_Layer_Text* text = TextLayer(Fill(3), font, kInk);
    if (text) {
      text->Editable = 1;
      text->MultiLine = 1;
    }
    area->Decals[SlotNormal] = Decal({text, ZoneLayer(Fill(), ZoneEditText, CursorCross)});
  }
  Add(box, area);
  AddBars(box, PartTextHScroll, PartTextVScroll, font);
  return box;
}

C_Widget* MakeScrollSpace(const char* font) {
  // Plain while its parts are added: a scroll space hands added children to its
  // content.
  C_Widget* space = New<C_Widget>(KindPlain);
  if (!space) return nullptr;
  space->Decals[SlotNormal] = Decal({RectLayer(Fill(), Grey(0.9f), Grey(0.3f))});
  C_Widget* content = New<C_Widget>(KindPlain, PartContent);
  if (content) content->Rect = Fill(1);
  Add(space, content);
  AddBars(space, PartSpaceHScroll, PartSpaceVScroll, font);
  space->Kind = KindScrollSpace;
  return space;
}

// --- forms ------------------------------------------------------------------------------

// A frame: border, caption with the form's text and a move zone, the caption
// buttons given, and a resize zone in the corner when asked.
C_Widget* MakeFrame(uint16_t part, const C_Rect& rect, const char* font,
                    std::initializer_list<uint16_t> commands, bool sizing) {
  C_Widget* frame = New<C_Widget>(KindPlain, part);
  if (!frame) return nullptr;
  frame->Rect = rect;
  frame->Movable = 1;
  frame->Resizable = sizing ? 1 : 0;
  const C_Rect caption = R(0, 0, 0, kCaption, kStartStart, MakeAnchor(AnchorEnd, AnchorExtent));
  C_Layer_Text* title = TextLayer(
      R(4, 4, -4, kCaption, kStartStart, MakeAnchor(AnchorEnd, AnchorStart)), font, kWhite);
  frame->Decals[SlotNormal] =
      Decal({RectLayer(Fill(), Grey(0.85f), Grey(0.2f)), RectLayer(caption, Grey(0.5f), Grey(0.2f)),
             title, ZoneLayer(caption, ZoneMove, CursorSizeAll),
             sizing ? ZoneLayer(R(-8, -8, 0, 0, MakeAnchor(AnchorEnd, AnchorEnd), kEndEnd),
                                ZoneBottomRight, CursorSizeNWSE)
                    : nullptr});
  // The active look: the caption in blue.
  frame->Decals[SlotActive] = Decal(
      {RectLayer(Fill(), Grey(0.85f), Grey(0.2f)), RectLayer(caption, kCaptionBlue, Grey(0.2f)),
       TextLayer(R(4, 4, -4, kCaption, kStartStart, MakeAnchor(AnchorEnd, AnchorStart)), font,
                 kWhite)});
  float x = -2 - 16;
  for (uint16_t command : commands) {
    C_Widget* button = MakeButton(font, command);
    if (!button) continue;
    button->Rect = R(x, 2, 16, 16, kFromRight, kSizes);
    static const char* const kLabels[] = {"_", "r", "m", "u"};
    button->Text.Assign(C_String(kLabels[command - PartMinimise]));
    Add(frame, button);
    x -= 18;
  }
  return frame;
}

C_Form* MakeForm(const char* font) {
  auto* form = New<C_Form>(KindForm);
  if (!form) return nullptr;
  form->MinWidth = 140;
  form->MinHeight = 80;
  C_Widget* content = New<C_Widget>(KindPlain);
  if (content) content->Rect = R(4, kCaption + 4, -4, -4, kStartStart, kEndEnd);
  Add(form, content);
  // AddChild hands children of a paged widget to child 0, so the page is set after.
  Add(form,
      MakeFrame(PartFrameNormal, Fill(), font, {PartRollUp, PartMaximise, PartMinimise}, true));
  Add(form, MakeFrame(PartFrameMinimised, R(0, 0, 130, kCaption + 2, kStartStart, kSizes), font,
                      {PartRestore}, false));
  Add(form, MakeFrame(PartFrameMaximised, Fill(), font, {PartRestore, PartMinimise}, false));
  Add(form, MakeFrame(PartFrameRolledUp,
                      R(0, 0, 0, kCaption + 2, kStartStart, MakeAnchor(AnchorEnd, AnchorExtent)),
                      font, {PartRestore, PartMinimise}, false));
  form->Page = 0;
  return form;
}

}  // namespace

C_Rect SizedRect(float x, float y, float w, float h) {
  return R(x, y, w, h, kStartStart, kSizes);
}

C_Rect FormRect(float x, float y, float right, float height) {
  return R(x, y, right, height, kStartStart, MakeAnchor(AnchorStart, AnchorExtent));
}

C_Widget* MakeTemplate(BasicTemplate which, const char* fontName) {
  switch (which) {
    case TemplateForm:
      return MakeForm(fontName);
    case TemplateButton:
      return MakeButton(fontName);
    case TemplateOption:
      return MakeMarked(KindOption, fontName);
    case TemplateCheckBox:
      return MakeMarked(KindCheckBox, fontName);
    case TemplateSeparator:
      return MakeSeparator();
    case TemplateHScroll:
      return MakeScrollBar(KindHScrollBar, fontName);
    case TemplateVScroll:
      return MakeScrollBar(KindVScrollBar, fontName);
    case TemplateTextBox:
      return MakeTextBox(fontName);
    case TemplateScrollSpace:
      return MakeScrollSpace(fontName);
  }
  return nullptr;
}

uint16_t TemplateClassId(BasicTemplate which) {
  switch (which) {
    case TemplateForm:
      return class_id::Form;
    case TemplateHScroll:
    case TemplateVScroll:
      return class_id::ScrollBar;
    case TemplateTextBox:
      return class_id::TextBox;
    default:
      return class_id::Widget;
  }
}

bool TemplateFits(BasicTemplate which, const C_Widget* widget) {
  return widget && widget->GetClassId() == TemplateClassId(which);
}

C_Widget* MakeWidget(BasicTemplate which, const char* fontName, const C_Rect& rect,
                     const char* name, const char* text) {
  C_Widget* made = MakeTemplate(which, fontName);
  if (!made) return nullptr;
  // Widgets are cloned from their templates, as the application does.
  auto* widget = static_cast<C_Widget*>(made->Clone());
  DeleteOwnedObject(made);
  if (widget) widget->Setup(rect, name, text);
  return widget;
}

// --- the gallery ------------------------------------------------------------------------

const char* const kGalleryParagraph =
    "this text box shows a paragraph to edit and scroll.\n"
    "type to insert text. backspace and delete remove it.\n"
    "the arrows move the caret. a click puts it under the pointer.\n"
    "when the text grows past the box the scroll bars appear.\n"
    "when it shrinks again they go away.";

namespace {

// A clone of the given template set up in place, or one made in code.
struct Maker {
  const char* font;
  const GalleryTemplates* templates;
  C_Widget* operator()(BasicTemplate which, const C_Rect& rect, const char* name,
                       const char* text) const {
    C_Widget* from = templates ? templates->Items[which] : nullptr;
    if (!TemplateFits(which, from)) return MakeWidget(which, font, rect, name, text);
    auto* widget = static_cast<C_Widget*>(from->Clone());
    if (widget) widget->Setup(rect, name, text);
    return widget;
  }
};

}  // namespace

Gallery BuildGallery(C_Desktop& desktop, const char* font, const GalleryTemplates* templates) {
  Gallery g;
  if (!desktop.Root) return g;
  const Maker Make{font, templates};
  g.Form = dynamic_cast<C_Form*>(
      Make(TemplateForm, FormRect(20, 20, 580, 440), "Gallery", "widget gallery"));
  if (!g.Form) return g;
  desktop.Root->AddChild(g.Form);
  g.Form->Movable = 1;
  g.Form->Resizable = 1;
  // A drag acts on the frame that owns the zone: the normal and rolled-up frames
  // move the form, and the normal one resizes it.
  for (uint16_t part : {PartFrameNormal, PartFrameRolledUp}) {
    if (C_Widget* frame = g.Form->FindPart(part, KindPlain)) {
      frame->Movable = 1;
      frame->Resizable = part == PartFrameNormal ? 1 : 0;
    }
  }
  C_Widget* form = g.Form;
  const char* const buttons[] = {"apply", "reset"};
  for (int i = 0; i < 2; ++i) {
    g.Buttons[i] =
        Make(TemplateButton, SizedRect(10 + 90.0f * i, 10, 80, 22), buttons[i], buttons[i]);
    Add(form, g.Buttons[i]);
  }
  const char* const options[] = {"lumps", "blobs", "noise", "height", "normal", "bump"};
  float y = 44;
  for (int i = 0; i < 6; ++i) {
    if (i == 3) {
      g.Separator = Make(TemplateSeparator, SizedRect(10, y + 2, 150, 4), "split", "");
      Add(form, g.Separator);
      y += 10;
    }
    g.Options[i] = Make(TemplateOption, SizedRect(10, y, 150, 16), options[i], options[i]);
    if (g.Options[i] && (i == 0 || i == 3)) g.Options[i]->Checked = 1;
    Add(form, g.Options[i]);
    y += 20;
  }
  const char* const checks[] = {"grid", "light"};
  for (int i = 0; i < 2; ++i) {
    g.CheckBoxes[i] =
        Make(TemplateCheckBox, SizedRect(10, y + 8 + 20.0f * i, 150, 16), checks[i], checks[i]);
    Add(form, g.CheckBoxes[i]);
  }
  g.TextBox = dynamic_cast<C_TextBox*>(
      Make(TemplateTextBox, SizedRect(180, 10, 360, 160), "text", kGalleryParagraph));
  Add(form, g.TextBox);
  g.ScrollSpace = Make(TemplateScrollSpace, SizedRect(180, 190, 360, 180), "space", "");
  Add(form, g.ScrollSpace);
  if (g.ScrollSpace) {
    for (int i = 0; i < 6; ++i) {
      char label[] = "item a";
      label[5] = static_cast<char>('a' + i);
      g.SpaceChildren[i] =
          Make(TemplateButton, SizedRect(20 + 150.0f * (i % 3), 20 + 140.0f * (i / 3), 120, 30),
               label, label);
      Add(g.ScrollSpace, g.SpaceChildren[i]);
    }
  }
  return g;
}
