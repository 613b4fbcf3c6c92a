// C_GraphicApi: the drawing interface. A window's interface (the root) owns the
// back buffer and shows it; a widget's interface (a child) forwards every drawing
// call to the root with its own area as viewport and clip.
#pragma once

#include <cstdint>

#include "core/vector2d.h"
#include "graphics/geometry/rect.h"

class C_Circle;
class C_Color;
class C_Font;
class C_FontType;
class C_Object;
class C_String;
class C_Surface;
struct TextRequest;
struct DrawOptions;
struct DrawOwner;
struct ImageHook;

// Interface states; calls made in another state than the one an operation needs
// are ignored.
enum GraphicApiState : uint32_t {
  ApiCreated = 127,   // configurable
  ApiAttached = 128,  // bound to a window or widget record
  ApiOpen = 129,      // back buffer exists (root); Present and Repaint act
  ApiResizing = 132,  // inside the resize handler: repaint requests are ignored
  ApiDrawing = 133,   // between BeginDraw and EndDraw: drawing operations act
};

class C_GraphicApi {
 public:
  using PaintFunction = bool (*)(C_GraphicApi* api);

  C_GraphicApi() = default;
  C_GraphicApi(const C_GraphicApi&) = delete;
  C_GraphicApi& operator=(const C_GraphicApi&) = delete;
  // Deletes Auxiliary, the back buffer (never a surface RedirectTarget lent it),
  // UserViewport and UserClip, and detaches from its owner record, so that the
  // window or widget holds no pointer to the deleted interface.
  virtual ~C_GraphicApi();

  // --- life cycle -----------------------------------------------------------------
  // ApiAttached only: the root creates the back buffer (A8R8G8B8, bottom-up, opaque
  // black; a Grey8 mask too when configured) and switches the display mode when
  // FullScreen; then ApiOpen and the resize handler.
  virtual void Open();
  // ApiOpen -> ApiAttached; deletes Auxiliary and the back buffer and ends a redirection.
  virtual void Close();
  virtual int32_t Init();
  virtual void Release();  // deletes owned objects without nulling them
  // ApiCreated only: binds to a window's or widget's record and installs the handlers.
  virtual void Attach(DrawOwner* owner);
  // ApiCreated only.
  virtual void Configure(uint32_t width, uint32_t height, uint32_t displayBits, uint8_t withMask,
                         uint32_t resizeWithWindow, uint8_t keepAspect);
  virtual void SetPlacement(uint8_t windowAnchor, uint8_t surfaceAnchor, uint8_t fullScreen);

  // --- clip and viewport (absolute while drawing; see BeginDraw) -----------------
  virtual void ResetClip();
  virtual void SetClip(const C_Rect* clip);  // a null rectangle acts as ResetClip
  virtual void ResetViewport();
  virtual void SetViewport(const C_Rect* viewport);  // null acts as ResetViewport

  // --- queries ----------------------------------------------------------------------
  virtual C_Object* GetAuxiliary() const { return Auxiliary; }
  virtual C_Surface* GetTarget() const { return Target; }
  virtual int32_t GetPixelFormat() const;  // key-1 image's format, or -1
  virtual uint32_t GetState() const { return State; }
  // A new hook record bound to this interface; the caller deletes it (a resource's
  // Attach copies its fields).
  virtual ImageHook* CreateImageHook();
  virtual C_Rect* GetClip(C_Rect* out) const;
  virtual C_Rect* GetViewport(C_Rect* out) const;
  virtual uint8_t IsActive() const;
  // Non-null: draw into surface from now on; the surface stays the caller's. Null:
  // back to the interface's own target. The own target is kept aside, however many
  // surfaces are lent in turn, and is what Close and the destructor delete.
  virtual void RedirectTarget(C_Surface* surface);

  // --- frame ----------------------------------------------------------------------
  virtual void BeginDraw();  // ApiOpen -> ApiDrawing: computes Viewport and ClipRect
  virtual void EndDraw();    // ApiDrawing -> ApiOpen
  virtual void Repaint();    // calls the owner's interface's PaintHandler when open
  virtual bool Present();    // root, ApiOpen: hands the back buffer to the window;
                             // false when it did not reach the screen

  // --- display copies -------------------------------------------------------------
  // Rebuilds the display copies of the surface's channels with key (kAllChannels:
  // every channel): A8R8G8B8 for kColorChannel, Grey8 for kAlphaChannel.
  virtual bool RefreshImages(C_Surface* surface, int32_t key);
  // Rebuilds picture rows [first, end) of those display copies that exist with
  // their image's size; false when one does not (RefreshImages makes it). Never
  // allocates, so bands of separate rows may call it on several threads at once.
  virtual bool RefreshImageRows(C_Surface* surface, int32_t key, int32_t first, int32_t end);
  // Deletes the display copies of the surface's channels with key (kAllChannels:
  // every channel).
  virtual bool DropImages(C_Surface* surface, int32_t key);

  // --- drawing (ApiDrawing only; false otherwise) -----------------------------
  virtual bool Clear(const C_Color* color);  // FillImage of the colour image
  virtual bool ClearLevel(float level);      // fills with (level, 0, 0, 1)
  virtual bool DrawPixel(const C_Vector2D* point, const C_Color* color, float reserved);
  virtual bool DrawLine(const C_Vector2D* from, const C_Vector2D* to, const C_Color* color,
                        float reserved, int32_t reserved2);
  virtual bool DrawRect(const C_Rect* rect, const C_Color* color, uint8_t filled, float opacity,
                        int32_t reserved);
  virtual bool DrawCircle(const C_Circle* circle, const C_Color* color, uint8_t filled,
                          float reserved, int32_t reserved2);
  virtual bool BlitSurface(C_Surface* source, const C_Rect* sourceRect, const C_Rect* destination,
                           const C_Vector2D* position, float reserved, const DrawOptions* options,
                           C_Rect* dirtyRect);
  // The root's result is false by convention, whatever was drawn; a child returns
  // what the root returned.
  virtual bool DrawSurface(C_Surface* source, const C_Rect* sourceRect, const C_Vector2D* position,
                           float reserved, DrawOptions* options, C_Rect* dirtyRect);
  // Text in the layout rectangle (resolved against the viewport) with the default
  // format; position shifts it; secondColor fills a highlighted range; flag2 and
  // flag3 fold glyph positions into the rectangle. extent (may be null) receives
  // the laid-out extent. True when the text was laid out.
  virtual bool DrawTextFormatted(const C_String* text, C_Font* font, const C_FontType* type,
                                 const C_Color* color, const C_Color* secondColor,
                                 const C_Vector2D* position, uint8_t flag1, uint8_t flag2,
                                 uint8_t flag3, const C_Rect* layoutRect, C_Rect* extent);
  // DrawTextFormatted in a rectangle that fills the viewport, without extent.
  virtual bool DrawText(const C_String* text, C_Font* font, const C_FontType* type,
                        const C_Color* color, const C_Color* secondColor,
                        const C_Vector2D* position, uint8_t flag1, uint8_t flag2, uint8_t flag3);
  // The text routine with every argument the caller's, except the target, viewport
  // and clip, which are this interface's.
  virtual bool DrawTextBox(const TextRequest* request);

  // The handlers Attach installs in its owner record.
  static void ResizeHandler(DrawOwner* owner);
  static void RepaintHandler(DrawOwner* owner);

  PaintFunction PaintHandler = nullptr;  // called by Repaint when open; set by the owner
  uint32_t State = ApiCreated;           // a GraphicApiState
  uint8_t FullScreen = 0;                // 1: Open switches the display mode
  uint32_t ResizeWithWindow = 0;         // 1: the back buffer follows the window size
  uint8_t KeepAspect = 0;                // 1: resizing keeps the configured width:height
  float ConfiguredWidth = 0;             // Configure's width, for the aspect ratio
  float ConfiguredHeight = 0;            // Configure's height
  uint8_t WindowAnchor = 0x22;           // point of the window the surface is placed at
  uint8_t SurfaceAnchor = 0x22;          // point of the surface placed there
  DrawOwner* Owner = nullptr;            // the record attached to; null until Attach
  uint32_t Width = 0;                    // back buffer width, pixels (Configure)
  uint32_t Height = 0;                   // back buffer height, pixels
  uint32_t DisplayBits = 0;              // colour depth of the full-screen mode
  uint8_t WithMask = 0;                  // 1: the back buffer has an 8-bit mask (key 2)
  C_Object* Auxiliary = nullptr;         // owned; nothing sets it
  C_Surface* Target = nullptr;           // the surface drawn into; a root owns it unless
                                         // RedirectTarget lent it
  C_GraphicApi* DrawingApi = nullptr;    // the root that really draws (itself for a root)
  C_Rect Viewport;                       // effective viewport, absolute pixels, while drawing
  C_Rect ClipRect;                       // effective clip, absolute pixels, while drawing
  C_Rect* UserClip = nullptr;            // owned; set by SetClip
  C_Rect* UserViewport = nullptr;        // owned; set by SetViewport
  C_Surface* SavedTarget = nullptr;      // the own target while another is lent
  uint32_t Reserved = 0;                 // not read
  uint8_t Redirected = 0;                // 1: Target is lent, SavedTarget is the own one

 private:
  bool IsRoot() const;
  void ComputeViewport();
  void ComputeClip();
  C_Rect FullTargetRect() const;
  // Child forwarding: narrows the root to this interface's rectangles around call.
  template <typename Call>
  bool Forward(Call call);
  void DeleteOwned();
  // The slot that holds the interface's own target: Target, or SavedTarget while
  // a lent surface is drawn into.
  C_Surface*& OwnTarget() { return Redirected ? SavedTarget : Target; }
  void DeleteOwnTarget();
  void Detach();
};

// Drawing state only; a root calls call(this); a child narrows its root to its own
// viewport and clip around call(root).
template <typename Call>
bool C_GraphicApi::Forward(Call call) {
  if (State != ApiDrawing) return false;
  if (IsRoot()) return call(this);
  if (DrawingApi == nullptr || DrawingApi == this) return false;
  C_GraphicApi* root = DrawingApi;
  // The root draws through this interface's own rectangles for the one call: they
  // are lent, not copied, so that forwarding allocates nothing. The root's own
  // rectangles are dropped, as the reset after the call always did.
  delete root->UserViewport;
  delete root->UserClip;
  root->UserViewport = &Viewport;
  root->UserClip = &ClipRect;
  if (root->State == ApiDrawing) {
    root->ComputeViewport();
    root->ComputeClip();
  }
  const bool result = call(root);
  root->UserViewport = nullptr;
  root->UserClip = nullptr;
  if (root->State == ApiDrawing) {
    root->ComputeViewport();
    root->ComputeClip();
  }
  return result;
}
