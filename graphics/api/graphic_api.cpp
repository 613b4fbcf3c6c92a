// Life cycle, attachment, the back buffer, viewport and clip rules, presentation.
#include "graphics/api/graphic_api.h"

#include <algorithm>

#include "graphics/geometry/anchor.h"
#include "graphics/geometry/color.h"
#include "image/channel.h"
#include "image/image.h"
#include "image/image_ops.h"
#include "image/surface.h"
#include "platform/display_mode.h"
#include "platform/window.h"

namespace {

// Creates (or re-creates) the surface's image under key at width x height.
bool SizeImage(C_Surface* surface, int32_t key, int32_t width, int32_t format, int32_t height) {
  C_Image* image = surface->FindImage(key);
  if (image == nullptr) {
    image = new C_Image();
    if (!surface->SetChannel(image, key)) {
      delete image;
      return false;
    }
  }
  if (!image->Create(width, format, height)) return false;
  if (key == 1) {
    surface->Width = width;
    surface->Height = height;
  }
  return true;
}

// The larger left/top and the smaller right/bottom.
void Intersect(C_Rect& rect, float x1, float y1, float x2, float y2) {
  rect.X1 = std::max(rect.X1, x1);
  rect.Y1 = std::max(rect.Y1, y1);
  rect.X2 = std::min(rect.X2, x2);
  rect.Y2 = std::min(rect.Y2, y2);
}

// Screen-size values become pixel counts; NaN and out-of-range sizes give 0.
int32_t PixelCount(float value) {
  if (!(value > 0)) return 0;
  return value >= 65536.0f ? 65536 : static_cast<int32_t>(value);
}

}  // namespace

C_GraphicApi::~C_GraphicApi() {
  Detach();
  DeleteOwned();
}

void C_GraphicApi::DeleteOwned() {
  delete Auxiliary;
  delete UserViewport;
  delete UserClip;
  Auxiliary = nullptr;
  UserViewport = nullptr;
  UserClip = nullptr;
  DeleteOwnTarget();
}

// A lent surface stays its lender's; the redirection ends with the own target.
void C_GraphicApi::DeleteOwnTarget() {
  delete OwnTarget();
  Target = nullptr;
  SavedTarget = nullptr;
  Redirected = 0;
}

// The owner record and its window keep no pointer to this interface, nor the
// handlers that would look for it, unless another interface has attached since.
void C_GraphicApi::Detach() {
  if (Owner == nullptr) return;
  C_GraphicApi*& attached = Owner->Window != nullptr ? Owner->Window->Api : Owner->ChildApi;
  if (attached == this) {
    attached = nullptr;
    if (Owner->ResizeHandler == &C_GraphicApi::ResizeHandler) Owner->ResizeHandler = nullptr;
    if (Owner->RepaintHandler == &C_GraphicApi::RepaintHandler) Owner->RepaintHandler = nullptr;
  }
  Owner = nullptr;
}

int32_t C_GraphicApi::Init() {
  PaintHandler = nullptr;
  State = ApiCreated;
  FullScreen = 0;
  WithMask = 0;
  WindowAnchor = 0x22;
  SurfaceAnchor = 0x22;
  Auxiliary = nullptr;
  Target = nullptr;
  DrawingApi = nullptr;
  Owner = nullptr;
  UserClip = nullptr;
  UserViewport = nullptr;
  SavedTarget = nullptr;
  Redirected = 0;
  Reserved = 0;
  Viewport = C_Rect();
  ClipRect = C_Rect();
  return 0;
}

// Pointers are nulled too, so that a Release not followed by Init cannot lead to
// a second delete in the destructor.
void C_GraphicApi::Release() {
  DeleteOwned();
}

bool C_GraphicApi::IsRoot() const {
  return Owner != nullptr && Owner->Window != nullptr;
}

void C_GraphicApi::Configure(uint32_t width, uint32_t height, uint32_t displayBits,
                             uint8_t withMask, uint32_t resizeWithWindow, uint8_t keepAspect) {
  if (State != ApiCreated) return;
  Width = width;
  Height = height;
  DisplayBits = displayBits;
  WithMask = withMask;
  ResizeWithWindow = resizeWithWindow;
  KeepAspect = keepAspect;
  ConfiguredWidth = static_cast<float>(width);
  ConfiguredHeight = static_cast<float>(height);
}

void C_GraphicApi::SetPlacement(uint8_t windowAnchor, uint8_t surfaceAnchor, uint8_t fullScreen) {
  if (State != ApiCreated) return;
  WindowAnchor = windowAnchor;
  SurfaceAnchor = surfaceAnchor;
  FullScreen = fullScreen;
}

void C_GraphicApi::Attach(DrawOwner* owner) {
  if (State != ApiCreated || owner == nullptr) return;
  State = ApiAttached;
  Owner = owner;
  if (owner->Window != nullptr) {
    owner->Window->Api = this;
    DrawingApi = this;
    owner->ChildApi = nullptr;
  } else {
    if (owner->ParentApi != nullptr) DrawingApi = owner->ParentApi->DrawingApi;
    owner->ChildApi = this;
  }
  owner->ResizeHandler = &C_GraphicApi::ResizeHandler;
  owner->RepaintHandler = &C_GraphicApi::RepaintHandler;
}

void C_GraphicApi::Open() {
  if (State != ApiAttached) return;
  if (IsRoot()) {
    Owner->Window->Update(UpdateClientArea);
    // A surface lent before the interface opened stays the one drawn into.
    C_Surface*& own = OwnTarget();
    delete own;
    own = new C_Surface();
    const int32_t w = static_cast<int32_t>(std::min<uint32_t>(Width, INT32_MAX));
    const int32_t h = static_cast<int32_t>(std::min<uint32_t>(Height, INT32_MAX));
    if (SizeImage(own, 1, w, pixel_format::A8R8G8B8, h)) {
      C_Image* color = own->FindImage(kColorChannel);
      FillImage(color, C_Color(0, 0, 0, 1));
      color->BottomUp = 1;
    }
    if (WithMask == 1 && SizeImage(own, 2, w, pixel_format::Grey8, h)) {
      C_Image* mask = own->FindImage(kAlphaChannel);
      FillImage(mask, C_Color(0, 0, 0, 1));
      mask->BottomUp = 1;
    }
    if (FullScreen == 1) SetDisplayMode(w, h, static_cast<int32_t>(DisplayBits));
  }
  State = ApiOpen;
  ResizeHandler(Owner);
}

void C_GraphicApi::Close() {
  if (State == ApiOpen) State = ApiAttached;
  delete Auxiliary;
  Auxiliary = nullptr;
  DeleteOwnTarget();
}

void C_GraphicApi::ResizeHandler(DrawOwner* owner) {
  if (owner == nullptr || owner->Window == nullptr) return;
  C_GraphicApi* api = owner->Window->Api;
  if (api == nullptr || api->State != ApiOpen) return;
  api->State = ApiResizing;
  // The back buffer follows the window; a lent surface keeps its size.
  C_Surface* buffer = api->OwnTarget();
  if (api->ResizeWithWindow == 1 && buffer != nullptr) {
    const int32_t w = PixelCount(owner->Area.X2 - owner->Area.X1);
    const int32_t h = PixelCount(owner->Area.Y2 - owner->Area.Y1);
    int32_t width = w, height = h;
    if (api->KeepAspect == 1 && api->ConfiguredWidth > 0 && api->ConfiguredHeight > 0) {
      const int32_t fitted = PixelCount(api->ConfiguredWidth / api->ConfiguredHeight * h);
      if (fitted <= w) {
        width = fitted;
      } else {
        height = PixelCount(api->ConfiguredHeight / api->ConfiguredWidth * w);
      }
    }
    // A re-created buffer holds whatever the heap had: start it opaque black, as
    // Open does, so that a frame shown before the next paint shows no garbage.
    if (SizeImage(buffer, 1, width, pixel_format::A8R8G8B8, height))
      FillImage(buffer->FindImage(kColorChannel), C_Color(0, 0, 0, 1));
    if (api->WithMask == 1 && SizeImage(buffer, 2, width, pixel_format::Grey8, height))
      FillImage(buffer->FindImage(kAlphaChannel), C_Color(0, 0, 0, 1));
  }
  api->State = ApiOpen;
  api->Repaint();
}

void C_GraphicApi::RepaintHandler(DrawOwner* owner) {
  if (owner == nullptr) return;
  C_GraphicApi* api = owner->Window != nullptr ? owner->Window->Api : owner->ChildApi;
  if (api != nullptr) api->Repaint();
}

void C_GraphicApi::Repaint() {
  if (Owner == nullptr) return;
  C_GraphicApi* api = Owner->Window != nullptr ? Owner->Window->Api : Owner->ChildApi;
  if (api != nullptr && api->State == ApiOpen && api->PaintHandler != nullptr)
    api->PaintHandler(api);
}

C_Rect C_GraphicApi::FullTargetRect() const {
  if (Target == nullptr) return C_Rect();
  return C_Rect(0.0f, 0.0f, static_cast<float>(Target->Width), static_cast<float>(Target->Height),
                0, 0);
}

void C_GraphicApi::ComputeViewport() {
  if (IsRoot() || Owner == nullptr || Owner->ParentApi == nullptr) {
    Viewport = UserViewport != nullptr ? *UserViewport : FullTargetRect();
    return;
  }
  const C_Rect& parent = Owner->ParentApi->Viewport;
  const C_Rect& area = Owner->Area;
  const float px = parent.X1, py = parent.Y1;
  if (UserViewport != nullptr) {
    const C_Rect& u = *UserViewport;
    Viewport = C_Rect(px + area.X1 + u.X1, py + area.Y1 + u.Y1, px + area.X1 + u.X2,
                      py + area.Y1 + u.Y2, 0, 0);
  } else {
    Viewport = C_Rect(px + area.X1, py + area.Y1, px + area.X2, py + area.Y2, 0, 0);
  }
}

void C_GraphicApi::ComputeClip() {
  if (IsRoot() || Owner == nullptr || Owner->ParentApi == nullptr) {
    ClipRect = UserClip != nullptr ? *UserClip : FullTargetRect();
    return;
  }
  const C_GraphicApi* parentApi = Owner->ParentApi;
  const C_Rect& area = Owner->Area;
  const float px = parentApi->Viewport.X1, py = parentApi->Viewport.Y1;
  ClipRect = C_Rect(px + area.X1, py + area.Y1, px + area.X2, py + area.Y2, 0, 0);
  if (UserClip != nullptr) {
    Intersect(ClipRect, px + UserClip->X1, py + UserClip->Y1, px + UserClip->X2, py + UserClip->Y2);
  } else {
    Intersect(ClipRect, Viewport.X1, Viewport.Y1, Viewport.X2, Viewport.Y2);
  }
  const C_Rect& outer = parentApi->ClipRect;
  Intersect(ClipRect, outer.X1, outer.Y1, outer.X2, outer.Y2);
}

void C_GraphicApi::BeginDraw() {
  if (State != ApiOpen) return;
  ComputeViewport();
  ComputeClip();
  State = ApiDrawing;
}

void C_GraphicApi::EndDraw() {
  if (State != ApiDrawing) return;
  if (!IsRoot() && DrawingApi != nullptr && DrawingApi != this) {
    DrawingApi->ResetViewport();
    DrawingApi->ResetClip();
  }
  State = ApiOpen;
}

void C_GraphicApi::ResetClip() {
  delete UserClip;
  UserClip = nullptr;
  if (State == ApiDrawing) ComputeClip();
}

void C_GraphicApi::SetClip(const C_Rect* clip) {
  if (clip == nullptr) return ResetClip();
  C_Rect* copy = new C_Rect(*clip);
  delete UserClip;
  UserClip = copy;
  if (State == ApiDrawing) ComputeClip();
}

void C_GraphicApi::ResetViewport() {
  delete UserViewport;
  UserViewport = nullptr;
  if (State == ApiDrawing) ComputeViewport();
}

void C_GraphicApi::SetViewport(const C_Rect* viewport) {
  if (viewport == nullptr) return ResetViewport();
  C_Rect* copy = new C_Rect(*viewport);
  delete UserViewport;
  UserViewport = copy;
  if (State == ApiDrawing) ComputeViewport();
}

C_Rect* C_GraphicApi::GetClip(C_Rect* out) const {
  if (out != nullptr) *out = UserClip != nullptr ? *UserClip : FullTargetRect();
  return out;
}

C_Rect* C_GraphicApi::GetViewport(C_Rect* out) const {
  if (out != nullptr) *out = UserViewport != nullptr ? *UserViewport : FullTargetRect();
  return out;
}

int32_t C_GraphicApi::GetPixelFormat() const {
  const C_Image* image = Target != nullptr ? Target->FindImage(kColorChannel) : nullptr;
  return image != nullptr ? image->Format : -1;
}

uint8_t C_GraphicApi::IsActive() const {
  return Owner != nullptr ? Owner->Active : 0;
}

void C_GraphicApi::RedirectTarget(C_Surface* surface) {
  if (surface != nullptr) {
    // A second lent surface replaces the first; the own target stays kept aside.
    if (!Redirected) SavedTarget = Target;
    Redirected = 1;
    Target = surface;
    return;
  }
  if (!Redirected) return;
  Target = SavedTarget;
  SavedTarget = nullptr;
  Redirected = 0;
}

bool C_GraphicApi::Present() {
  if (!IsRoot() || State != ApiOpen || Target == nullptr) return false;
  C_Window* window = Owner->Window;
  window->Update(UpdateClientArea);
  C_Image* image = Target->FindImage(kColorChannel);
  if (image == nullptr) return false;
  const float surfaceWidth = static_cast<float>(Target->Width);
  const float surfaceHeight = static_cast<float>(Target->Height);
  const float windowWidth = Owner->Area.X2 - Owner->Area.X1;
  const float windowHeight = Owner->Area.Y2 - Owner->Area.Y1;
  // The surface's anchor point is placed on the window's anchor point.
  const float ox = AlignAlong(HorizontalAnchor(WindowAnchor), windowWidth) -
                   AlignAlong(HorizontalAnchor(SurfaceAnchor), surfaceWidth);
  const float oy = AlignAlong(VerticalAnchor(WindowAnchor), windowHeight) -
                   AlignAlong(VerticalAnchor(SurfaceAnchor), surfaceHeight);
  return ShowImage(image, window, C_Vector2D(ox, oy));
}
