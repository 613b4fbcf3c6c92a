#include "widget/code_names.h"

const char* WidgetKindName(uint32_t kind) {
  switch (kind) {
    case 0:
      return "plain";
    case 1:
      return "push button";
    case 2:
      return "form";
    case 14:
      return "option button";
    case 15:
      return "check box";
    case 16:
      return "horizontal scroll bar";
    case 17:
      return "vertical scroll bar";
    case 23:
      return "text box";
    case 27:
      return "scroll space";
    case 31:
      return "group separator";
    case 32:
      return "press option";
    default:
      return "no kind the system acts on";
  }
}

const char* WidgetPartName(uint32_t part) {
  switch (part) {
    case 0:
      return "no part";
    case 4:
      return "frame, normal";
    case 5:
      return "frame, minimised";
    case 6:
      return "frame, maximised";
    case 7:
      return "frame, rolled up";
    case 8:
      return "minimise";
    case 9:
      return "restore";
    case 10:
      return "maximise";
    case 11:
      return "roll up";
    case 18:
      return "thumb";
    case 19:
      return "step to minimum";
    case 20:
      return "step to maximum";
    case 21:
      return "page to minimum";
    case 22:
      return "page to maximum";
    case 24:
      return "text area";
    case 25:
      return "text box's horizontal bar";
    case 26:
      return "text box's vertical bar";
    case 28:
      return "scrolled content";
    case 29:
      return "scroll space's horizontal bar";
    case 30:
      return "scroll space's vertical bar";
    default:
      return "no part the system acts on";
  }
}
