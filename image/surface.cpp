// C_Surface: channels by key, the image hook, copying, and the stored record.
#include "image/surface.h"

#include <new>

#include "core/byte_stream.h"
#include "core/collection.h"
#include "core/error.h"
#include "image/channel.h"
#include "image/image.h"
#include "image/record_layout.h"

namespace {

C_Channel* ChannelAt(const C_Collection* list, uint32_t index) {
  return static_cast<C_Channel*>(list->GetAt(index));
}

}  // namespace

C_Surface::C_Surface(C_Image* image) {
  SharedImages = 1;
  Channels = new (std::nothrow) C_Collection();
  if (!Channels || !image) return;
  auto* channel = new (std::nothrow) C_Channel();
  if (!channel) return;
  channel->Image = image;
  channel->Key = kColorChannel;
  channel->SharedImage = 1;
  if (!Channels->Append(channel)) {
    delete channel;
    return;
  }
  Width = image->Width;
  Height = image->Height;
}

C_Surface* C_Surface::WrapImage(C_Image* image) {
  return new (std::nothrow) C_Surface(image);
}

C_Surface::~C_Surface() {
  Release();
  Name = nullptr;  // already freed; the resource's destructor must not free it again
}

void C_Surface::Init() {
  C_Resource::Init();
  Channels = nullptr;
  Extra = nullptr;
  Columns = 1;
  Rows = 1;
  Width = 0;
  Height = 0;
  UpdateHook = nullptr;
  ReleaseHook = nullptr;
  Owner = nullptr;
  SharedImages = 0;
}

void C_Surface::Release() {
  if (ReleaseHook) ReleaseHook(this, kAllChannels);
  if (Channels) {
    Channels->DeleteItems();
    delete Channels;
  }
  DeleteOwnedObject(Extra);
  C_Resource::Release();
  // Freed pointers are nulled so that a second Release cannot free them again.
  Channels = nullptr;
  Extra = nullptr;
  Name = nullptr;
}

C_Object* C_Surface::Clone() {
  auto* copy = new (std::nothrow) C_Surface();
  if (!copy) return nullptr;
  CopySurface(copy);
  return copy;
}

bool C_Surface::CopySurface(C_Surface* target) const {
  if (!target) return Fail(ErrorMissingArgument);
  if (target == this) return true;
  bool complete = true;
  target->SetName(Name);
  if (target->Channels) {
    // The target's display copies go with the channels they were made from.
    if (target->ReleaseHook) target->ReleaseHook(target, kAllChannels);
    target->Channels->DeleteItems();
    delete target->Channels;
    target->Channels = nullptr;
  }
  if (Channels) {
    target->Channels = new (std::nothrow) C_Collection();
    if (!target->Channels) return Fail(ErrorAllocation);
    for (uint32_t i = 0; i < Channels->Count; ++i) {
      C_Channel* channel = ChannelAt(Channels, i);
      C_Object* copy = channel ? channel->Clone() : nullptr;
      if (channel && !copy) complete = false;
      if (!target->Channels->Append(copy)) {
        delete copy;
        complete = false;
      }
    }
  }
  target->Columns = Columns;
  target->Rows = Rows;
  target->UpdateHook = UpdateHook;
  target->ReleaseHook = ReleaseHook;
  target->Owner = Owner;
  target->Width = Width;
  target->Height = Height;
  target->SharedImages = SharedImages;
  return complete || Fail(ErrorAllocation);
}

bool C_Surface::Prepare() {
  return UpdateHook ? UpdateHook(this, kAllChannels) : false;
}

bool C_Surface::Attach(const ImageHook* hook) {
  if (!hook) return false;
  UpdateHook = hook->Refresh;
  ReleaseHook = hook->Drop;
  Owner = hook->Owner;
  return true;
}

C_Channel* C_Surface::FindChannel(int32_t key) const {
  if (!Channels) return nullptr;
  for (uint32_t i = 0; i < Channels->Count; ++i) {
    C_Channel* channel = ChannelAt(Channels, i);
    if (channel && channel->Key == key) return channel;
  }
  return nullptr;
}

C_Image* C_Surface::FindImage(int32_t key) const {
  C_Channel* channel = FindChannel(key);
  return channel ? channel->Image : nullptr;
}

bool C_Surface::SetChannel(C_Image* image, int32_t key) {
  if (!Channels) {
    Channels = new (std::nothrow) C_Collection();
    if (!Channels) return Fail(ErrorAllocation);
  }
  auto* channel = new (std::nothrow) C_Channel();
  if (!channel) return Fail(ErrorAllocation);
  channel->Image = image;
  channel->Key = key;
  channel->SharedImage = SharedImages;

  bool replaced = false;
  for (uint32_t i = 0; i < Channels->Count; ++i) {
    C_Channel* old = ChannelAt(Channels, i);
    if (!old || old->Key != key) continue;
    // The interface's display copy of the old image goes with the old channel.
    if (old->Converted && ReleaseHook) ReleaseHook(this, key);
    // Setting the image a channel already owns must not delete it with the channel.
    if (old->Image == image) old->SharedImage = 1;
    Channels->Items[i] = channel;
    delete old;
    replaced = true;
    break;
  }
  if (!replaced && !Channels->Insert(0, channel)) {
    channel->SharedImage = 1;  // the caller still owns the image
    delete channel;
    return Fail(ErrorAllocation);
  }
  if (key == kColorChannel) {
    Width = image ? image->Width : 0;
    Height = image ? image->Height : 0;
  }
  return true;
}

// --- Stored record ---------------------------------------------------------------

bool C_Surface::Save(ByteStream* stream, int32_t context) {
  return (WriteField(stream, GetClassId()) && SaveContents(stream, context)) || Fail();
}

bool C_Surface::SaveContents(ByteStream* stream, int32_t context) {
  if (!WriteField(stream, FormatVersion)) return false;
  if (Channels) {
    if (!WriteField(stream, kChannelListMarker)) return false;
    for (uint32_t i = 0; i < Channels->Count; ++i) {
      C_Channel* channel = ChannelAt(Channels, i);
      if (!channel) continue;
      if (!WriteField(stream, kChannelEntryMarker) ||
          !WriteField(stream, static_cast<uint32_t>(channel->Key))) {
        return false;
      }
      // A channel without an image is stored with an empty image so that the
      // record stays readable.
      C_Image empty;
      C_Image* image = channel->Image ? channel->Image : &empty;
      if (!image->Save(stream, context)) return false;
    }
  }
  return WriteField(stream, kChannelListEnd) && SaveHeldObject(stream, context, Extra) &&
         WriteField(stream, Columns) && WriteField(stream, Rows);
}

bool C_Surface::Load(ByteStream* stream, int32_t context) {
  if (!ReadClassId(stream, *this)) return false;
  Release();
  Init();
  return LoadContents(stream, context) || Fail();
}

bool C_Surface::LoadContents(ByteStream* stream, int32_t context) {
  uint16_t version = 0;
  if (!ReadField(stream, version)) return Fail(ErrorUnexpectedData);
  if (version != FormatVersion) return true;

  const uint8_t first = ReadByte(stream);
  if (stream->Broken) return Fail(ErrorUnexpectedData);
  if (first == kChannelListMarker) {
    Channels = new (std::nothrow) C_Collection();
    if (!Channels) return Fail(ErrorAllocation);
    while (!stream->Broken && RemainingBytes(stream) > 0) {
      const uint8_t marker = ReadByte(stream);
      if (marker == kChannelListEnd) break;
      if (marker != kChannelEntryMarker) continue;
      uint32_t key = 0;
      if (!ReadField(stream, key)) return Fail(ErrorUnexpectedData);
      auto* image = new (std::nothrow) C_Image();
      if (!image) return Fail(ErrorAllocation);
      if (!image->Load(stream, context)) {
        delete image;
        return false;
      }
      auto* channel = new (std::nothrow) C_Channel();
      if (!channel) {
        delete image;
        return Fail(ErrorAllocation);
      }
      channel->Image = image;
      channel->Key = static_cast<int32_t>(key);
      channel->SharedImage = SharedImages;
      if (!Channels->Insert(0, channel)) {
        delete channel;
        return Fail(ErrorAllocation);
      }
      if (channel->Key == kColorChannel) {
        Width = image->Width;
        Height = image->Height;
      }
    }
  }

  C_Object* extra = nullptr;
  if (!LoadHeldObject(stream, context, extra)) {
    DeleteOwnedObject(extra);
    return false;
  }
  Extra = extra;
  return ReadField(stream, Columns) && ReadField(stream, Rows) ? true : Fail(ErrorUnexpectedData);
}
