// Widget templates built in code with a plain flat look (framed rectangles, text
// and zones), and the gallery: a form holding one of each, for the widget gallery
// window, its tests, the event fuzzer and the benchmark. They need no widget files:
// only a font of the given name among the desktop's fonts.
#pragma once

#include <cstdint>

#include "widget/widget.h"

class C_Desktop;
class C_Form;
class C_ScrollBar;
class C_TextBox;

enum BasicTemplate : uint32_t {
  TemplateForm,
  TemplateButton,
  TemplateOption,
  TemplateCheckBox,
  TemplateSeparator,
  TemplateHScroll,
  TemplateVScroll,
  TemplateTextBox,
  TemplateScrollSpace,
};

// A new template widget of the kind (owned by the caller), its text drawn with
// the named font at size 10; none when memory runs out.
C_Widget* MakeTemplate(BasicTemplate which, const char* fontName);

// The class id of the widgets of a kind: a form, a scroll bar, a text box, or a
// plain widget.
uint16_t TemplateClassId(BasicTemplate which);
// True when widget is of the class its kind needs (a template read from a file
// may be anything).
bool TemplateFits(BasicTemplate which, const C_Widget* widget);

// A clone of a template, set up with its place, name and text (see C_Widget::Setup).
C_Widget* MakeWidget(BasicTemplate which, const char* fontName, const C_Rect& rect,
                     const char* name, const char* text);

// Places x, y with size w x h (second corner as width and height).
C_Rect SizedRect(float x, float y, float w, float h);
// A form's rectangle: right edge from the parent's left, bottom as a height.
C_Rect FormRect(float x, float y, float right, float height);

// The widgets of the gallery, as the gallery window and its tests find them.
struct Gallery {
  C_Form* Form = nullptr;
  C_Widget* Buttons[2] = {};
  C_Widget* Options[6] = {};  // two groups of three, split by Separator
  C_Widget* Separator = nullptr;
  C_Widget* CheckBoxes[2] = {};
  C_TextBox* TextBox = nullptr;
  C_Widget* ScrollSpace = nullptr;
  C_Widget* SpaceChildren[6] = {};
};

// The paragraph the gallery's text box starts with.
extern const char* const kGalleryParagraph;

// Templates to clone the gallery's widgets from (a form, a button, an option, a
// check box, a group separator, a text box and a scroll space), by BasicTemplate;
// the widgets of an entry left none, or holding a widget of another class than
// its kind needs, are made in code. Not owned.
struct GalleryTemplates {
  C_Widget* Items[TemplateScrollSpace + 1] = {};
};

// Builds the gallery on the desktop's root page (which must exist) and returns
// its widgets; nothing is prepared. The form and its frames can be moved and
// resized.
Gallery BuildGallery(C_Desktop& desktop, const char* fontName,
                     const GalleryTemplates* templates = nullptr);
