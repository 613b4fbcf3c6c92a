// C_Surface: channels by key, the image hook, copying, and the stored record.
#include "image/surface.h"

#include <new>

#include "core/collection.h"
#include "core/error.h"
#include "core/record_stream.h"
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
  UpdateRowsHook = nullptr;
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
  target->UpdateRowsHook = UpdateRowsHook;
  target->Owner = Owner;
  target->Width = Width;
  target->Height = Height;
  target->SharedImages = SharedImages;
  return complete || Fail(ErrorAllocation);
}

bool C_Surface::Prepare() {
  return UpdateHook ? UpdateHook(this, kAllChannels) : false;
}

bool C_Surface::PrepareRows(int32_t first, int32_t end) {
  return UpdateRowsHook ? UpdateRowsHook(this, kAllChannels, first, end) : false;
}

bool C_Surface::Attach(const ImageHook* hook) {
  if (!hook) return false;
  UpdateHook = hook->Refresh;
  ReleaseHook = hook->Drop;
  UpdateRowsHook = hook->RefreshRows;
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
  return SaveRecord(stream, context, *this);
}

bool C_Surface::Load(ByteStream* stream, int32_t context) {
  if (!ReadClassId(stream, *this)) return false;
  Release();
  Init();
  return LoadFields(stream, context, *this) || Fail();
}

// The version, the channel list between its markers (each entry a key and an
// image record), the optional Extra object, Columns and Rows.
bool C_Surface::Fields(RecordVisitor& v) {
  bool current = false;
  if (!v.Version(current)) return false;
  if (!current) return true;
  static constexpr ListMarkers kChannelList = {kChannelListMarker, kChannelEntryMarker,
                                               kChannelListEnd, "channel"};
  bool present = Channels != nullptr;
  if (!v.BeginMarkedList("Channels", kChannelList, present)) return false;
  if (present && !ChannelsField(v, kChannelList)) return false;
  C_Object* extra = Extra;
  const bool extraWalked = v.Held("Extra", extra, HeldRule::Optional);
  if (v.Reading()) {
    if (!extraWalked) {
      DeleteOwnedObject(extra);
      return false;
    }
    Extra = extra;
  } else if (!extraWalked) {
    return false;
  }
  return v.Field("Columns", Columns) && v.Field("Rows", Rows);
}

// A loaded channel is put at the front of the list, so the channels stand in
// reverse stored order, and Save writes them in list order. The text form keeps
// stored order both ways. A channel without an image is stored with an empty image
// so that the record stays readable.
bool C_Surface::ChannelsField(RecordVisitor& v, const ListMarkers& markers) {
  const bool reading = v.Reading();
  if (reading) {
    Channels = new (std::nothrow) C_Collection();
    if (!Channels) return Fail(ErrorAllocation);
  }
  const uint32_t count = reading ? 0 : Channels->Count;
  for (uint32_t k = 0;; ++k) {
    C_Channel* channel = nullptr;
    if (!reading) {
      while (k < count && !ChannelAt(Channels, v.TextForm() ? count - 1 - k : k)) ++k;
      if (k < count) channel = ChannelAt(Channels, v.TextForm() ? count - 1 - k : k);
    }
    bool more = reading || channel != nullptr;
    if (!v.NextEntry(markers, more)) return false;
    if (!more) return true;
    if (!(reading ? LoadChannel(v) : SaveChannel(v, *channel))) {
      v.EndElement();
      return false;
    }
    v.EndElement();
  }
}

bool C_Surface::SaveChannel(RecordVisitor& v, C_Channel& channel) {
  uint32_t key = static_cast<uint32_t>(channel.Key);
  C_Image empty;
  C_Image* image = channel.Image ? channel.Image : &empty;
  return v.Field("Key", key) && v.Member("Image", *image);
}

bool C_Surface::LoadChannel(RecordVisitor& v) {
  uint32_t key = 0;
  if (!v.Field("Key", key)) return false;
  auto* image = new (std::nothrow) C_Image();
  if (!image) return Fail(ErrorAllocation);
  if (!v.Member("Image", *image)) {
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
  const bool inserted = v.TextForm() ? Channels->Append(channel) : Channels->Insert(0, channel);
  if (!inserted) {
    delete channel;
    return Fail(ErrorAllocation);
  }
  if (channel->Key == kColorChannel) {
    Width = image->Width;
    Height = image->Height;
  }
  return true;
}
