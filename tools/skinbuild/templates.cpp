// The description of the skin: the eleven widget templates, their parts, looks and
// zones. Every look is drawn from the controls sheet and the UI face; every state
// a widget can be drawn in has its decal: 0 at rest, 1 active, 3 pressed, 4 under
// the pointer, and the checked lists of buttons, check boxes and options.
//
// Sections: shared looks; buttons, check boxes, options, separators; scroll bars;
// forms and frames; text box and scroll space; the file list.
#include "tools/skinbuild/templates.h"

#include <initializer_list>

#include "core/collection.h"
#include "font/text_format.h"
#include "platform/cursor.h"
#include "platform/system_color.h"
#include "tools/skinbuild/skin_kit.h"
#include "widget/form.h"
#include "widget/scroll_bar.h"
#include "widget/text_box.h"

using namespace kit;

namespace {

constexpr float kScrollWidth = 16;
constexpr float kCaptionHeight = 22;
constexpr float kEdge = 4;  // grip of a form's resizing edges

// --- shared looks ---------------------------------------------------------------

// A push button's face in each state, with its caption. A standalone button is
// framed while active and has checked lists that show it pressed in; the parts of
// composites (caption buttons, steps, thumbs) have neither.
void ButtonLook(C_Widget* w, bool standalone) {
  const bool caption = standalone;
  struct State {
    uint32_t slot;
    Tile tile;
    float shift;
  } states[] = {{SlotNormal, TileBevelRaised, 0},
                {SlotActive, TileBevelRaised, 0},
                {SlotPressed, TileBevelSunken, 1},
                {SlotHovered, TileBevelHover, 0}};
  for (const State& s : states) {
    C_Collection* lists[] = {Layers(w, s.slot), standalone ? CheckedLayers(w, s.slot) : nullptr};
    for (C_Collection* list : lists) {
      if (!list) continue;
      const bool in = list == w->Decals[s.slot]->CheckedLayers;
      AddNineSlice(list, in ? TileBevelSunken : s.tile);
      if (caption) {
        const float d = in ? 1 : s.shift;
        AddText(list, Box(4 + d, -9 + d, -4 + d, 12 + d, kLeftMiddle, kRightMiddle),
                SysColorButtonText, AlignCentre);
      }
      // The active button is framed in the text colour.
      if (standalone && s.slot == SlotActive)
        AddFrame(list, Fill(), kColorSourceOwn, SysColorButtonText);
    }
  }
}

// A tile-sized glyph centred on a button face.
void ButtonGlyph(C_Widget* w, Tile glyph) {
  for (uint32_t slot : {SlotNormal, SlotActive, SlotPressed, SlotHovered}) {
    const float d = slot == SlotPressed ? 1 : 0;
    AddTile(Layers(w, slot), glyph, Box(-8 + d, -8 + d, kTileSize, kTileSize, kCentre, kSize));
  }
}

// A click zone over the whole widget, in the slot that is hit-tested.
void ClickZone(C_Widget* w, uint8_t cursor = CursorArrow) {
  AddZone(Layers(w, SlotNormal), Fill(), ZoneClick, cursor);
}

// The label of a check box or an option starts this far right of the box's left
// edge and is drawn a size smaller than other UI text, so that a label as long as
// "BumpMapping" shows whole on a widget 100 pixels wide.
constexpr float kMarkLabelLeft = kTileSize + 2;
constexpr float kMarkLabelRight = -1;  // inside the hover frame
constexpr float kMarkLabelSize = kUiSize - 1;

// A box of the sheet at the left, a label right of it, for check boxes and
// options; the checked lists add the mark.
void MarkedLook(C_Widget* w, Tile box, Tile mark) {
  for (uint32_t slot : {SlotNormal, SlotPressed, SlotHovered}) {
    for (C_Collection* list : {Layers(w, slot), CheckedLayers(w, slot)}) {
      const bool checked = list == w->Decals[slot]->CheckedLayers;
      const C_Rect boxArea = Box(0, -8, kTileSize, kTileSize, kLeftMiddle, kSize);
      if (slot == SlotHovered) AddFrame(list, Fill(), kColorSourceOwn, SysColorButtonShadow);
      AddTile(list, slot == SlotPressed && box == TileField ? TileBevelSunken : box, boxArea);
      if (checked) AddTile(list, mark, boxArea);
      C_Layer_Text* label =
          AddText(list, Box(kMarkLabelLeft, -9, kMarkLabelRight, 12, kLeftMiddle, kRightMiddle),
                  SysColorButtonText, AlignLeft);
      label->Font.Size = kMarkLabelSize;
    }
  }
  ClickZone(w);
}

// --- buttons, check boxes, options, separators ------------------------------------

C_Widget* BuildButton() {
  C_Widget* w = Make(KindButton, PartNone, Box(0, 0, 96, 24, kTopLeft, kSize));
  w->Text.Assign(C_String("Button"));
  ButtonLook(w, true);
  ClickZone(w);
  return w;
}

C_Widget* BuildCheckBox() {
  C_Widget* w = Make(KindCheckBox, PartNone, Box(0, 0, 160, 20, kTopLeft, kSize));
  w->Text.Assign(C_String("Check box"));
  MarkedLook(w, TileField, TileCheckMark);
  return w;
}

C_Widget* BuildOption() {
  C_Widget* w = Make(KindOption, PartNone, Box(0, 0, 160, 20, kTopLeft, kSize));
  w->Text.Assign(C_String("Option"));
  MarkedLook(w, TileOptionRing, TileOptionDot);
  return w;
}

// An etched line: a shadow line and a highlight line beside it.
C_Widget* BuildSeparator(bool horizontal) {
  C_Widget* w = horizontal ? Make(KindGroupSeparator, PartNone, Box(0, 0, 160, 2, kTopLeft, kSize))
                           : Make(KindPlain, PartNone, Box(0, 0, 2, 160, kTopLeft, kSize));
  C_Collection* list = Layers(w, SlotNormal);
  if (horizontal) {
    AddFrame(list, Box(0, 0, 0, 1, kTopLeft, kRightHeight), SysColorButtonShadow,
             SysColorButtonShadow);
    AddFrame(list, Box(0, 1, 0, 1, kTopLeft, kRightHeight), SysColorButtonHighlight,
             SysColorButtonHighlight);
  } else {
    AddFrame(list, Box(0, 0, 1, 0, kTopLeft, kWidthToBottom), SysColorButtonShadow,
             SysColorButtonShadow);
    AddFrame(list, Box(1, 0, 1, 0, kTopLeft, kWidthToBottom), SysColorButtonHighlight,
             SysColorButtonHighlight);
  }
  return w;
}

C_Widget* BuildHSeparator() {
  return BuildSeparator(true);
}
C_Widget* BuildVSeparator() {
  return BuildSeparator(false);
}

// --- scroll bars ------------------------------------------------------------------

// A step button (kind 1) with an arrow.
C_Widget* StepButton(uint16_t part, const C_Rect& rect, Tile arrow) {
  C_Widget* w = Make(KindButton, part, rect);
  ButtonLook(w, false);
  ButtonGlyph(w, arrow);
  ClickZone(w);
  return w;
}

// A page part: clear at rest, the track darkened while pressed.
C_Widget* PagePart(uint16_t part, const C_Rect& rect) {
  C_Widget* w = Make(KindPlain, part, rect);
  Layers(w, SlotNormal);
  C_Collection* pressed = Layers(w, SlotPressed);
  AddFrame(pressed, Fill(), SysColorButtonShadow, SysColorButtonShadow);
  ClickZone(w);
  return w;
}

C_ScrollBar* BuildScrollBar(bool horizontal, C_ScrollBar* bar = nullptr) {
  const float w = kScrollWidth;
  bar = static_cast<C_ScrollBar*>(
      Make(horizontal ? KindHScrollBar : KindVScrollBar, PartNone,
           horizontal ? Box(0, 0, 160, w, kTopLeft, kSize) : Box(0, 0, w, 160, kTopLeft, kSize),
           bar ? bar : new C_ScrollBar()));
  // The track lies between the step buttons.
  bar->DragLimits = horizontal ? Box(w, 0, -w, 0, kTopLeft, kBottomRight)
                               : Box(0, w, 0, -w, kTopLeft, kBottomRight);
  AddSheetPiece(Layers(bar, SlotNormal), Fill(), TileX(TileTrack), TileY(TileTrack), kTileSize,
                kTileSize, true);
  const uint8_t half = horizontal ? MakeAnchor(AnchorFractionOfStart, AnchorEnd)
                                  : MakeAnchor(AnchorEnd, AnchorFractionOfStart);
  const uint8_t fromHalf = horizontal ? MakeAnchor(AnchorFractionOfStart, AnchorStart)
                                      : MakeAnchor(AnchorStart, AnchorFractionOfStart);
  if (horizontal) {
    bar->AddChild(PagePart(PartPageDown, Box(w, 0, 0.5f, 0, kTopLeft, half)));
    bar->AddChild(PagePart(PartPageUp, Box(0.5f, 0, -w, 0, fromHalf, kBottomRight)));
    bar->AddChild(StepButton(PartStepDown, Box(0, 0, w, w, kTopLeft, kSize), TileArrowLeft));
    bar->AddChild(StepButton(PartStepUp, Box(-w, 0, w, w, kTopRight, kSize), TileArrowRight));
  } else {
    bar->AddChild(PagePart(PartPageDown, Box(0, w, 0, 0.5f, kTopLeft, half)));
    bar->AddChild(PagePart(PartPageUp, Box(0, 0.5f, 0, -w, fromHalf, kBottomRight)));
    bar->AddChild(StepButton(PartStepDown, Box(0, 0, w, w, kTopLeft, kSize), TileArrowUp));
    bar->AddChild(StepButton(PartStepUp, Box(0, -w, w, w, kBottomLeft, kSize), TileArrowDown));
  }
  // The thumb is drawn last, over the page parts; it moves along the track only.
  C_Widget* thumb = Make(KindButton, PartThumb, Box(w, 0, w, w, kTopLeft, kSize));
  if (!horizontal) thumb->Rect = Box(0, w, w, w, kTopLeft, kSize);
  thumb->Movable = 1;
  ButtonLook(thumb, false);
  AddZone(Layers(thumb, SlotNormal), Fill(), horizontal ? ZoneMoveHorizontal : ZoneMoveVertical,
          CursorArrow);
  bar->AddChild(thumb);
  return bar;
}

C_Widget* BuildHScroll() {
  return BuildScrollBar(true);
}
C_Widget* BuildVScroll() {
  return BuildScrollBar(false);
}

// --- forms and frames -------------------------------------------------------------

// A caption button of a form command, right-aligned at place (0 the rightmost).
C_Widget* CaptionButton(uint16_t command, int32_t place) {
  static const Tile glyphs[] = {TileGlyphMinimise, TileGlyphRestore, TileGlyphMaximise,
                                TileGlyphRollUp};
  const float x = -(kEdge + 16) - 17.0f * static_cast<float>(place);
  C_Widget* w = Make(KindButton, command, Box(x, kEdge + 2, 16, 14, kTopRight, kSize));
  ButtonLook(w, false);
  ButtonGlyph(w, glyphs[command - PartMinimise]);
  ClickZone(w);
  return w;
}

// The caption bar and its text, in the active or the inactive colours.
void Caption(C_Collection* list, bool active, float rightSpace) {
  const C_Rect bar = Box(3, 3, -3, 3 + kCaptionHeight - 4, kTopLeft, kTopRight);
  AddSheetPiece(list, bar, active ? kActiveCaptionX : kInactiveCaptionX, kCaptionY, kCaptionWidth,
                kTileSize);
  AddText(list, Box(8, 4, -rightSpace, 3 + kCaptionHeight - 4, kTopLeft, kTopRight),
          active ? SysColorCaptionText : SysColorInactiveCaptionText, AlignLeft, nullptr, true);
}

// The zones of a form's frame: the caption moves it; with `resizable`, the edges and
// then the corners (found last, so they win where they overlap the edges) resize it.
void FrameZones(C_Collection* list, bool movable, bool resizable) {
  if (movable)
    AddZone(list, Box(3, 3, -3, 3 + kCaptionHeight - 4, kTopLeft, kTopRight), ZoneMove,
            CursorSizeAll);
  if (!resizable) return;
  const float e = kEdge, c = 2 * kEdge;
  AddZone(list, Box(0, c, e, -c, kTopLeft, kBottomLeft), ZoneLeftEdge, CursorSizeWE);
  AddZone(list, Box(c, 0, -c, e, kTopLeft, kTopRight), ZoneTopEdge, CursorSizeNS);
  AddZone(list, Box(-e, c, 0, -c, kTopRight, kBottomRight), ZoneRightEdge, CursorSizeWE);
  AddZone(list, Box(c, -e, -c, 0, kBottomLeft, kBottomRight), ZoneBottomEdge, CursorSizeNS);
  AddZone(list, Box(0, 0, c, c, kTopLeft, kTopLeft), ZoneTopLeft, CursorSizeNWSE);
  AddZone(list, Box(-c, 0, 0, c, kTopRight, kTopRight), ZoneTopRight, CursorSizeNESW);
  AddZone(list, Box(0, -c, c, 0, kBottomLeft, kBottomLeft), ZoneBottomLeft, CursorSizeNESW);
  AddZone(list, Box(-c, -c, 0, 0, kBottomRight, kBottomRight), ZoneBottomRight, CursorSizeNWSE);
}

// One frame of a form: the window edge, the caption (inactive in slot 0, active in
// slot 1), its zones and its caption buttons.
C_Widget* FormFrame(uint16_t part, const C_Rect& rect, std::initializer_list<uint16_t> commands,
                    bool movable, bool resizable) {
  C_Widget* frame = Make(KindPlain, part, rect);
  const float buttons = kEdge + 4 + 17.0f * static_cast<float>(commands.size());
  for (uint32_t slot : {SlotNormal, SlotActive}) {
    C_Collection* list = Layers(frame, slot);
    AddNineSlice(list, TileWindow);
    Caption(list, slot == SlotActive, buttons);
  }
  FrameZones(Layers(frame, SlotNormal), movable, resizable);
  // The first command stands leftmost.
  int32_t place = static_cast<int32_t>(commands.size());
  for (uint16_t command : commands) frame->AddChild(CaptionButton(command, --place));
  return frame;
}

C_Widget* BuildForm() {
  auto* form = static_cast<C_Form*>(
      Make(KindForm, PartNone, Box(0, 0, 320, 240, kTopLeft, kSize), new C_Form()));
  form->Text.Assign(C_String("Form"));
  form->Movable = 1;
  form->Resizable = 1;
  form->BringToFront = 1;
  form->MinWidth = 120;
  form->MinHeight = kCaptionHeight + 40;
  // Child 0: the client content, below the caption.
  form->AddChild(Make(KindPlain, PartNone,
                      Box(kEdge, kCaptionHeight + 2, -kEdge, -kEdge, kTopLeft, kBottomRight)));
  form->AddChild(
      FormFrame(PartFrameNormal, Fill(), {PartMinimise, PartMaximise, PartRollUp}, true, true));
  form->AddChild(FormFrame(PartFrameMinimised, Box(0, 0, 160, kCaptionHeight + 2, kTopLeft, kSize),
                           {PartRestore, PartMaximise}, false, false));
  form->AddChild(FormFrame(PartFrameMaximised, Fill(), {PartMinimise, PartRestore}, false, false));
  form->AddChild(FormFrame(PartFrameRolledUp,
                           Box(0, 0, 0, kCaptionHeight + 2, kTopLeft, kRightHeight),
                           {PartRestore, PartMinimise}, true, false));
  form->SetText("Form");
  form->SelectFrame();
  return form;
}

// A framed panel: an etched group frame with its title, the same in every mode.
C_Widget* BuildFrame() {
  auto* form = static_cast<C_Form*>(
      Make(KindForm, PartNone, Box(0, 0, 240, 160, kTopLeft, kSize), new C_Form()));
  form->AddChild(Make(KindPlain, PartNone, Box(8, 20, -8, -8, kTopLeft, kBottomRight)));
  for (uint16_t part = PartFrameNormal; part <= PartFrameRolledUp; ++part) {
    // Minimised it docks at its title's size; rolled up it keeps its width.
    const C_Rect rect = part == PartFrameMinimised  ? Box(0, 0, 160, 20, kTopLeft, kSize)
                        : part == PartFrameRolledUp ? Box(0, 0, 0, 20, kTopLeft, kRightHeight)
                                                    : Fill();
    C_Widget* frame = Make(KindPlain, part, rect);
    C_Collection* list = Layers(frame, SlotNormal);
    AddNineSlice(list, TileEtched);
    AddText(list, Box(8, 2, -8, 20, kTopLeft, kTopRight), SysColorButtonText, AlignLeft, nullptr,
            true);
    form->AddChild(frame);
  }
  form->SetText("Frame");
  form->SelectFrame();
  return form;
}

// --- text box and scroll space ----------------------------------------------------

C_ScrollBar* CompositeBar(uint16_t part, bool horizontal) {
  C_ScrollBar* bar = BuildScrollBar(horizontal);
  bar->PartId = part;
  const float w = kScrollWidth;
  bar->Rect = horizontal ? Box(2, -2 - w, -2, -2, kBottomLeft, kBottomRight)
                         : Box(-2 - w, 2, -2, -2, kTopRight, kBottomRight);
  bar->Visible = 0;  // shown by the composite update when the content does not fit
  return bar;
}

C_Widget* BuildTextBox() {
  auto* box = static_cast<C_TextBox*>(
      Make(KindTextBox, PartNone, Box(0, 0, 200, 96, kTopLeft, kSize), new C_TextBox()));
  box->Font = C_FontType(kUiFace, kUiSize);
  box->ScrollBars = 1;
  AddNineSlice(Layers(box, SlotNormal), TileField);
  C_Widget* area = Make(KindPlain, PartTextArea, Fill(2));
  for (uint32_t slot : {SlotNormal, SlotActive}) {
    C_Layer_Text* text =
        AddText(Layers(area, slot), Fill(2), SysColorWindowText, AlignLeft, nullptr, false);
    text->Format.Ellipsis = 0;
    text->Editable = 1;
    text->MultiLine = 1;
    text->GrowContent = 1;
  }
  AddZone(Layers(area, SlotNormal), Fill(), ZoneEditText, CursorCross);
  box->AddChild(area);
  box->AddChild(CompositeBar(PartTextHScroll, true));
  box->AddChild(CompositeBar(PartTextVScroll, false));
  return box;
}

C_Widget* BuildScrollSpace() {
  // Built as a plain widget: a scroll space hands the children added to it to its
  // content part.
  C_Widget* space = Make(KindPlain, PartNone, Box(0, 0, 240, 160, kTopLeft, kSize));
  AddNineSlice(Layers(space, SlotNormal), TileEtched);
  space->AddChild(Make(KindPlain, PartContent, Fill(2)));
  space->AddChild(CompositeBar(PartSpaceHScroll, true));
  space->AddChild(CompositeBar(PartSpaceVScroll, false));
  space->Kind = KindScrollSpace;
  return space;
}

// --- the file list ----------------------------------------------------------------

const TemplateFile kTemplates[] = {
    {"widgets/form.wgt", BuildForm},
    {"widgets/vseparator.wgt", BuildVSeparator},
    {"widgets/hseparator.wgt", BuildHSeparator},
    {"widgets/frame.wgt", BuildFrame},
    {"widgets/button.wgt", BuildButton},
    {"widgets/option.wgt", BuildOption},
    {"widgets/checkbox.wgt", BuildCheckBox},
    {"widgets/hscroll.wgt", BuildHScroll},
    {"widgets/vscroll.wgt", BuildVScroll},
    {"widgets/textbox.wgt", BuildTextBox},
    {"widgets/scrollspace.wgt", BuildScrollSpace},
};

}  // namespace

const TemplateFile* Templates(int& count) {
  count = static_cast<int>(sizeof(kTemplates) / sizeof(kTemplates[0]));
  return kTemplates;
}
