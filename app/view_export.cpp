#include "app/view_export.h"

#include "app/demo_state.h"
#include "image/image.h"
#include "image/png_writer.h"

bool ExportViewPng(const char* path, int32_t viewMode) {
  switch (viewMode) {
    case ViewHeightMap:
      return HeightImage && WriteGrey16PngFile(path, *HeightImage);
    case ViewNormalMap:
      return NormalImage && WritePngFile(path, *NormalImage);
    case ViewBumpMapping:
      return ShadedImage && WritePngFile(path, *ShadedImage);
    default:
      return false;
  }
}
