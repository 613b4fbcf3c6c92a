// C_Surface: a named resource made of channels (key 1 colour, key 2 alpha) that a
// drawing interface draws into and from, bound to it through an image hook.
#pragma once

#include <cstdint>

#include "core/record_visitor.h"
#include "core/resource.h"
#include "image/image_hook.h"

class C_Channel;
class C_Collection;
class C_Image;

class C_Surface : public C_Resource {
 public:
  C_Surface() = default;
  // Wraps an image the caller keeps: one shared key-1 channel, SharedImages 1. A
  // null image gives an empty channel list.
  explicit C_Surface(C_Image* image);
  C_Surface(const C_Surface&) = delete;
  C_Surface& operator=(const C_Surface&) = delete;
  ~C_Surface() override;

  void Init() override;
  // Drops display copies through ReleaseHook, deletes channels, list, Extra and Name.
  void Release() override;
  C_Object* Clone() override;  // a new surface given to CopySurface
  bool Load(ByteStream* stream, int32_t context) override;
  bool Save(ByteStream* stream, int32_t context) override;
  bool Fields(RecordVisitor& visitor) override;
  uint16_t GetClassId() const override { return class_id::Surface; }
  // Asks the attached interface to rebuild every display copy; false when unattached.
  bool Prepare() override;
  // Asks the attached interface to rebuild rows [first, end) of every display copy
  // that exists; false when unattached or a copy is missing (Prepare makes it).
  // Bands of separate rows may call it on several threads at once.
  bool PrepareRows(int32_t first, int32_t end);
  // Copies the hook's functions and interface; false for a null hook.
  bool Attach(const ImageHook* hook) override;
  // Name, a clone of every channel, Columns, Rows, hooks, Owner, Width, Height and
  // SharedImages into target; Extra is not copied. False when something could not
  // be allocated (target keeps what was copied).
  virtual bool CopySurface(C_Surface* target) const;

  // A new surface wrapping image (see the constructor); null when out of memory.
  static C_Surface* WrapImage(C_Image* image);

  // Puts image under key: replaces the channel with that key in place (deleting
  // it, and its image if owned) or inserts a new channel at the front. Key 1 sets
  // Width and Height. False only when memory runs out.
  bool SetChannel(C_Image* image, int32_t key);
  C_Image* FindImage(int32_t key) const;      // first channel's image with key, or null
  C_Channel* FindChannel(int32_t key) const;  // first channel with key, or null

  C_Collection* Channels = nullptr;          // owned list of owned C_Channel; null when new
  C_Object* Extra = nullptr;                 // owned; a C_Color here is the colour key
  uint32_t Columns = 1;                      // frames across
  uint32_t Rows = 1;                         // frames down
  int32_t Width = 0;                         // of the key-1 image
  int32_t Height = 0;                        // of the key-1 image
  SurfaceHook UpdateHook = nullptr;          // rebuilds display copies
  SurfaceHook ReleaseHook = nullptr;         // drops display copies
  SurfaceRowsHook UpdateRowsHook = nullptr;  // rebuilds rows of display copies
  C_GraphicApi* Owner = nullptr;             // the interface the hooks belong to
  uint8_t SharedImages = 0;                  // 1: channels this surface creates share their image

 private:
  bool ChannelsField(RecordVisitor& v, const ListMarkers& markers);
  bool LoadChannel(RecordVisitor& v);
  bool SaveChannel(RecordVisitor& v, C_Channel& channel);
};
