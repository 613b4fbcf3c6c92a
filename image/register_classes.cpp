// Registration of the image classes during static initialisation: the surface in
// its resource group and the image in its picture group.
#include "core/class_registry.h"
#include "image/image.h"
#include "image/surface.h"

namespace {

bool RegisterSurfaces() {
  EnsureClassRegistry();
  RegisterClass(class_id::Surface, MakeObject<C_Surface>);
  return true;
}

bool RegisterImages() {
  EnsureClassRegistry();
  RegisterClass(class_id::Image, MakeObject<C_Image>);
  return true;
}

const bool surfacesRegistered = RegisterSurfaces();
const bool imagesRegistered = RegisterImages();

}  // namespace
