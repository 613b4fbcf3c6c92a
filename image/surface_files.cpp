#include "image/surface_files.h"

#include <new>

#include "core/error.h"
#include "image/channel.h"
#include "image/image.h"
#include "image/picture_file.h"
#include "image/surface.h"

bool LoadChannel(C_Surface* surface, const char* fileName, int32_t key) {
  if (!surface) return Fail(ErrorMissingArgument);
  auto* image = new (std::nothrow) C_Image();
  if (!image) return Fail(ErrorAllocation);
  if (!LoadImageFile(fileName, image)) {
    delete image;
    return false;
  }
  if (!surface->SetChannel(image, key)) {
    delete image;  // SetChannel has recorded why; the image is still ours
    return false;
  }
  surface->SetName(fileName);
  return true;
}

C_Surface* NewSurfaceFromFiles(const char* colourFile, const char* alphaFile) {
  auto* surface = new (std::nothrow) C_Surface();
  if (!surface) {
    Fail(ErrorAllocation);
    return nullptr;
  }
  LoadChannel(surface, colourFile, kColorChannel);
  LoadChannel(surface, alphaFile, kAlphaChannel);
  surface->Columns = 1;
  surface->Rows = 1;
  return surface;
}
