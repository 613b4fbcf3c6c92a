// Record layouts of the skin classes: the decal with its two layer lists and the
// six layers. Zone actions and cursors are named beside their numbers.
#include <string>

#include "core/class_id.h"
#include "tools/pakdump/record_dumper.h"

namespace {

constexpr uint16_t kVersion = 100;
constexpr uint8_t kListFollows = 1;

const char* ColorSourceName(uint32_t code) {
  static const char* const kSystem[] = {"3-D dark shadow",
                                        "3-D face",
                                        "button face",
                                        "3-D highlight",
                                        "3-D highlight",
                                        "button highlight",
                                        "button highlight",
                                        "3-D light",
                                        "3-D shadow",
                                        "button shadow",
                                        "active border",
                                        "active caption",
                                        "app workspace",
                                        "desktop",
                                        "desktop",
                                        "button text",
                                        "caption text",
                                        "grey text",
                                        "highlight",
                                        "highlight text",
                                        "inactive border",
                                        "inactive caption",
                                        "inactive caption text",
                                        "tooltip",
                                        "tooltip text",
                                        "menu",
                                        "menu text",
                                        "scroll bar",
                                        "black",
                                        "black",
                                        "window",
                                        "window frame",
                                        "window text",
                                        "own colour",
                                        "parent's colour"};
  if (code < sizeof kSystem / sizeof kSystem[0]) return kSystem[code];
  return "black";
}

const char* ZoneActionName(uint8_t action) {
  static const char* const kActions[] = {"none",
                                         "move",
                                         "left edge",
                                         "top edge",
                                         "right edge",
                                         "bottom edge",
                                         "top-left corner",
                                         "top-right corner",
                                         "bottom-left corner",
                                         "bottom-right corner",
                                         "move horizontally",
                                         "move vertically",
                                         "click",
                                         "text-edit focus"};
  if (action < sizeof kActions / sizeof kActions[0]) return kActions[action];
  return "no action";
}

const char* CursorName(uint8_t cursor) {
  static const char* const kCursors[] = {"arrow with hourglass",
                                         "arrow",
                                         "cross-hair",
                                         "arrow with question mark",
                                         "icon",
                                         "slashed circle",
                                         "size",
                                         "move",
                                         "resize NE-SW",
                                         "resize N-S",
                                         "resize NW-SE",
                                         "resize W-E",
                                         "up arrow",
                                         "hourglass"};
  if (cursor >= 64 && cursor < 64 + sizeof kCursors / sizeof kCursors[0])
    return kCursors[cursor - 64];
  return "unknown cursor";
}

// The version word; false to stop (with a note) when it is not the current one.
bool Version(RecordDumper& d, const char* what, bool& current) {
  uint16_t version = 0;
  if (!d.U16("version", &version)) return false;
  current = version == kVersion;
  if (!current)
    d.Note(std::string("(version is not 100: the loader reads nothing more of this ") + what + ")");
  return true;
}

bool Rect(RecordDumper& d, const char* name) {
  return d.Record(name, RecordRole::Member, class_id::Rect);
}
bool Point(RecordDumper& d, const char* name) {
  return d.Record(name, RecordRole::Member, class_id::Vector2D);
}
bool Colour(RecordDumper& d, const char* name) {
  return d.Record(name, RecordRole::Member, class_id::Color);
}
bool Text(RecordDumper& d, const char* name) {
  return d.Record(name, RecordRole::Member, class_id::String);
}
// A colour source code, named.
bool Source(RecordDumper& d, const char* name) {
  uint32_t code = 0;
  if (!d.U32(name, &code)) return false;
  d.Note(std::string("  (") + ColorSourceName(code) + ")");
  return true;
}

bool DescribeDecal(RecordDumper& d) {
  bool current = false;
  if (!Version(d, "decal", current)) return false;
  if (!current) return true;
  for (const char* list : {"Layers", "CheckedLayers"}) {
    uint8_t flag = 0;
    const std::string flagName = std::string(list) + " follows";
    if (!d.U8(flagName.c_str(), &flag)) return false;
    if (flag == kListFollows) {
      if (!d.Record(list, RecordRole::Member, class_id::Collection)) return false;
    } else {
      d.Note(std::string("  (no ") + list + ")");
    }
  }
  return Rect(d, "Margins");
}

bool DescribeLayerRect(RecordDumper& d) {
  bool current = false;
  if (!Version(d, "layer", current) || !current) return !d.Failed();
  return Rect(d, "Area") && Colour(d, "FillColor") && Source(d, "FillSource") &&
         Colour(d, "BorderColor") && Source(d, "BorderSource") && d.U8("Mode") && d.U32("Spare1") &&
         d.U8("Spare2") && d.U32("Spare3");
}

bool DescribeLayerLine(RecordDumper& d) {
  bool current = false;
  if (!Version(d, "layer", current) || !current) return !d.Failed();
  return Point(d, "From") && Point(d, "To") && Colour(d, "LineColor") && Source(d, "LineSource") &&
         d.U8("Spare1") && d.U32("Spare2") && d.U32("Spare3") && d.U32("Spare4");
}

// The text format carries the font type's class id (2) but its own layout.
bool TextFormat(RecordDumper& d) {
  uint16_t id = 0;
  const int64_t at = d.Offset();
  if (!d.U16("Format: class id", &id)) return false;
  if (id != class_id::FontType) return d.MalformedAt(at, "Format must carry class id 2");
  d.Enter();
  bool current = false;
  bool ok = Version(d, "text format", current);
  if (ok && current) {
    ok = d.U8("Align", nullptr, Shown::Decimal) && d.U8("Ellipsis") && d.U8("SpareFlag1") &&
         d.F32("Leading") && d.F32("LeftEdge") && d.U8("LeftAnchor") && d.F32("RightEdge") &&
         d.U8("RightAnchor") && d.F32("Extra") && d.U8("ExtraAnchor") && d.U8("SpareFlag2") &&
         d.U32("Spare1") && d.U32("Spare2") && d.U32("Spare3");
  }
  d.Leave();
  return ok;
}

bool DescribeLayerText(RecordDumper& d) {
  bool current = false;
  if (!Version(d, "layer", current) || !current) return !d.Failed();
  return Text(d, "Text") && d.Record("Font", RecordRole::Member, class_id::FontType) &&
         TextFormat(d) && Colour(d, "TextColor") && Source(d, "TextSource") &&
         Colour(d, "Color2") && Source(d, "Source2") && d.U8("Mode2") && Point(d, "Scroll") &&
         Rect(d, "Area") && d.U8("TextParam1") && d.U8("TextParam2") && d.U8("TextParam3") &&
         d.U8("UseWidgetText") && d.U32("Spare1") && d.U8("MultiLine") && d.U8("Editable") &&
         d.U8("Password") && Colour(d, "Color3") && Source(d, "Source3") && d.U32("GrowContent");
}

bool DescribeLayerImage(RecordDumper& d) {
  bool current = false;
  if (!Version(d, "layer", current) || !current) return !d.Failed();
  return Point(d, "Position") && Rect(d, "Frame") && d.U32("Image", nullptr, Shown::Hex) &&
         Text(d, "ImageName") && Point(d, "Param1") && d.F32("Angle") && d.F32("Opacity") &&
         d.U8("BlendA") && d.U8("BlendB") && Point(d, "Pivot") && d.U8("Param4") &&
         Colour(d, "TintColor") && Source(d, "TintSource") && d.U8("TintMode") &&
         d.U32("GrowContent");
}

bool DescribeLayerBrush(RecordDumper& d) {
  bool current = false;
  if (!Version(d, "layer", current) || !current) return !d.Failed();
  return Rect(d, "Area") && Rect(d, "SourceRect") && d.U32("Sheet") && Text(d, "SheetName") &&
         Point(d, "Param1") && d.F32("Angle") && d.F32("Opacity") && Point(d, "Param3") &&
         d.U8("BlendA") && d.U8("BlendB") && d.U8("BlendC") && d.U8("BlendD") &&
         Point(d, "Param4") && d.U8("Param5") && Colour(d, "TintColor") &&
         Source(d, "TintSource") && d.U8("TintMode") && d.U32("Spare1");
}

bool DescribeLayerZone(RecordDumper& d) {
  bool current = false;
  if (!Version(d, "layer", current) || !current) return !d.Failed();
  uint8_t action = 0, cursor = 0;
  if (!Rect(d, "Area") || !d.U8("Action", &action, Shown::Decimal)) return false;
  d.Note(std::string("  (") + ZoneActionName(action) + ")");
  if (!d.U8("Cursor", &cursor, Shown::Decimal)) return false;
  d.Note(std::string("  (") + CursorName(cursor) + ")");
  return d.U32("Spare1");
}

const bool registered =
    RegisterDescriber(class_id::Decal, "C_Decal", DescribeDecal) &&
    RegisterDescriber(class_id::LayerRect, "C_Layer_Rect", DescribeLayerRect) &&
    RegisterDescriber(class_id::LayerLine, "C_Layer_Line", DescribeLayerLine) &&
    RegisterDescriber(class_id::LayerText, "C_Layer_Text", DescribeLayerText) &&
    RegisterDescriber(class_id::LayerImage, "C_Layer_Image", DescribeLayerImage) &&
    RegisterDescriber(class_id::LayerBrush, "C_Layer_Brush", DescribeLayerBrush) &&
    RegisterDescriber(class_id::LayerZone, "C_Layer_Zone", DescribeLayerZone);

}  // namespace
