// The drawing operations (a root calls the rasterizer with its user viewport and
// clip; a child narrows the root to its own rectangles first), clearing, and the
// display copies that image hooks ask for.
#include <new>

#include "core/collection.h"
#include "graphics/api/graphic_api.h"
#include "graphics/geometry/color.h"
#include "graphics/raster/draw_surface.h"
#include "graphics/raster/shapes.h"
#include "image/channel.h"
#include "image/image.h"
#include "image/image_hook.h"
#include "image/image_ops.h"
#include "image/surface.h"

namespace {

bool RefreshThroughOwner(C_Surface* surface, int32_t key) {
  return surface != nullptr && surface->Owner != nullptr &&
         surface->Owner->RefreshImages(surface, key);
}

bool RefreshRowsThroughOwner(C_Surface* surface, int32_t key, int32_t first, int32_t end) {
  return surface != nullptr && surface->Owner != nullptr &&
         surface->Owner->RefreshImageRows(surface, key, first, end);
}

bool DropThroughOwner(C_Surface* surface, int32_t key) {
  return surface != nullptr && surface->Owner != nullptr &&
         surface->Owner->DropImages(surface, key);
}

// True when channel's display copy exists with its image's size, so that its
// rows can be converted as they are.
bool CopyFits(const C_Channel& channel) {
  const C_Image* copy = channel.Converted;
  return copy != nullptr && copy->Width == channel.Image->Width &&
         copy->Height == channel.Image->Height;
}

// Brings channel's display copy up to date with its image.
void RefreshChannel(C_Channel* channel) {
  const int32_t format = channel->Key == kColorChannel   ? pixel_format::A8R8G8B8
                         : channel->Key == kAlphaChannel ? pixel_format::Grey8
                                                         : 0;
  C_Image* copy = channel->Converted;
  if (CopyFits(*channel)) {
    ConvertPixels(copy, channel->Image);
    return;
  }
  // A new copy, or one whose image changed size since it was made.
  if (copy == nullptr) {
    copy = new (std::nothrow) C_Image();
    if (copy == nullptr) return;
    channel->Converted = copy;
  }
  if (format != 0) C_Image::ConvertInto(format, copy, channel->Image);
}

}  // namespace

ImageHook* C_GraphicApi::CreateImageHook() {
  ImageHook* hook = new (std::nothrow) ImageHook();
  if (hook == nullptr) return nullptr;
  hook->Refresh = &RefreshThroughOwner;
  hook->Drop = &DropThroughOwner;
  hook->RefreshRows = &RefreshRowsThroughOwner;
  hook->Owner = this;
  return hook;
}

bool C_GraphicApi::RefreshImages(C_Surface* surface, int32_t key) {
  if (surface == nullptr || surface->Channels == nullptr) return true;
  for (uint32_t i = 0; i < surface->Channels->Count; ++i) {
    auto* channel = static_cast<C_Channel*>(surface->Channels->GetAt(i));
    if (channel == nullptr || channel->Image == nullptr) continue;
    if (key == kAllChannels || channel->Key == key) RefreshChannel(channel);
  }
  return true;
}

bool C_GraphicApi::RefreshImageRows(C_Surface* surface, int32_t key, int32_t first, int32_t end) {
  if (surface == nullptr || surface->Channels == nullptr) return true;
  bool complete = true;
  for (uint32_t i = 0; i < surface->Channels->Count; ++i) {
    auto* channel = static_cast<C_Channel*>(surface->Channels->GetAt(i));
    if (channel == nullptr || channel->Image == nullptr) continue;
    if (key != kAllChannels && channel->Key != key) continue;
    if (CopyFits(*channel)) {
      ConvertPixelRows(channel->Converted, channel->Image, first, end);
    } else {
      complete = false;
    }
  }
  return complete;
}

// One channel's copy is dropped when its image is replaced (C_Surface::SetChannel),
// so the key selects as it does for RefreshImages.
bool C_GraphicApi::DropImages(C_Surface* surface, int32_t key) {
  if (surface == nullptr || surface->Channels == nullptr) return true;
  for (uint32_t i = 0; i < surface->Channels->Count; ++i) {
    auto* channel = static_cast<C_Channel*>(surface->Channels->GetAt(i));
    if (channel == nullptr || (key != kAllChannels && channel->Key != key)) continue;
    delete channel->Converted;
    channel->Converted = nullptr;
  }
  return true;
}

bool C_GraphicApi::Clear(const C_Color* color) {
  C_Image* image = Target != nullptr ? Target->FindImage(kColorChannel) : nullptr;
  if (image == nullptr || color == nullptr) return false;
  return FillImage(image, *color);
}

bool C_GraphicApi::ClearLevel(float level) {
  const C_Color color(level, 0, 0, 1);
  return Clear(&color);
}

bool C_GraphicApi::DrawPixel(const C_Vector2D* point, const C_Color* color, float reserved) {
  if (point == nullptr || color == nullptr) return false;
  return Forward([&](C_GraphicApi* root) {
    if (root != this) return root->DrawPixel(point, color, reserved);
    return ::DrawPixel(Target, *point, *color, UserViewport, UserClip);
  });
}

bool C_GraphicApi::DrawLine(const C_Vector2D* from, const C_Vector2D* to, const C_Color* color,
                            float reserved, int32_t reserved2) {
  if (from == nullptr || to == nullptr || color == nullptr) return false;
  return Forward([&](C_GraphicApi* root) {
    if (root != this) return root->DrawLine(from, to, color, reserved, reserved2);
    return ::DrawLine(Target, *from, *to, *color, UserViewport, UserClip);
  });
}

bool C_GraphicApi::DrawRect(const C_Rect* rect, const C_Color* color, uint8_t filled, float opacity,
                            int32_t reserved) {
  if (rect == nullptr || color == nullptr) return false;
  return Forward([&](C_GraphicApi* root) {
    if (root != this) return root->DrawRect(rect, color, filled, opacity, reserved);
    return ::DrawRectangle(Target, *rect, *color, UserViewport, UserClip, filled, opacity);
  });
}

bool C_GraphicApi::DrawCircle(const C_Circle* circle, const C_Color* color, uint8_t filled,
                              float reserved, int32_t reserved2) {
  if (circle == nullptr || color == nullptr) return false;
  return Forward([&](C_GraphicApi* root) {
    if (root != this) return root->DrawCircle(circle, color, filled, reserved, reserved2);
    return ::DrawCircle(Target, *circle, *color, UserViewport, UserClip, filled);
  });
}

bool C_GraphicApi::BlitSurface(C_Surface* source, const C_Rect* sourceRect,
                               const C_Rect* destination, const C_Vector2D* position,
                               float reserved, const DrawOptions* options, C_Rect* dirtyRect) {
  if (destination == nullptr) return false;
  return Forward([&](C_GraphicApi* root) {
    if (root != this)
      return root->BlitSurface(source, sourceRect, destination, position, reserved, options,
                               dirtyRect);
    const C_Vector2D origin = position != nullptr ? *position : C_Vector2D();
    return ::BlitSurface(source, Target, sourceRect, UserViewport, UserClip, *destination, origin,
                         reserved, options, dirtyRect);
  });
}

bool C_GraphicApi::DrawSurface(C_Surface* source, const C_Rect* sourceRect,
                               const C_Vector2D* position, float reserved, DrawOptions* options,
                               C_Rect* dirtyRect) {
  return Forward([&](C_GraphicApi* root) {
    if (root != this)
      return root->DrawSurface(source, sourceRect, position, reserved, options, dirtyRect);
    const C_Vector2D at = position != nullptr ? *position : C_Vector2D();
    ::DrawSurface(source, Target, sourceRect, UserViewport, UserClip, at, options, dirtyRect);
    return false;
  });
}
