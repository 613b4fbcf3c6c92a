#include "core/record_stream.h"

#include <cstdlib>
#include <cstring>

#include "core/error.h"

uint32_t WireSize(WireType type) {
  switch (type) {
    case WireType::U8:
      return 1;
    case WireType::U16:
    case WireType::I16:
      return 2;
    default:
      return 4;
  }
}

int64_t WholeValue(FieldRef field) {
  switch (field.Type) {
    case WireType::U8:
      return *static_cast<const uint8_t*>(field.Value);
    case WireType::U16:
      return *static_cast<const uint16_t*>(field.Value);
    case WireType::I16:
      return *static_cast<const int16_t*>(field.Value);
    case WireType::U32:
      return *static_cast<const uint32_t*>(field.Value);
    case WireType::I32:
      return *static_cast<const int32_t*>(field.Value);
    case WireType::F32:
      break;
  }
  return 0;
}

bool ReadWireNumber(ByteStream* stream, FieldRef field) {
  switch (field.Type) {
    case WireType::U8:
      return ReadField(stream, *static_cast<uint8_t*>(field.Value));
    case WireType::U16:
      return ReadField(stream, *static_cast<uint16_t*>(field.Value));
    case WireType::I16:
      return ReadField(stream, *static_cast<int16_t*>(field.Value));
    case WireType::U32:
      return ReadField(stream, *static_cast<uint32_t*>(field.Value));
    case WireType::I32:
      return ReadField(stream, *static_cast<int32_t*>(field.Value));
    case WireType::F32:
      return ReadField(stream, *static_cast<float*>(field.Value));
  }
  return false;
}

bool WriteWireNumber(ByteStream* stream, FieldRef field) {
  switch (field.Type) {
    case WireType::U8:
      return WriteField(stream, *static_cast<const uint8_t*>(field.Value));
    case WireType::U16:
      return WriteField(stream, *static_cast<const uint16_t*>(field.Value));
    case WireType::I16:
      return WriteField(stream, *static_cast<const int16_t*>(field.Value));
    case WireType::U32:
      return WriteField(stream, *static_cast<const uint32_t*>(field.Value));
    case WireType::I32:
      return WriteField(stream, *static_cast<const int32_t*>(field.Value));
    case WireType::F32:
      return WriteField(stream, *static_cast<const float*>(field.Value));
  }
  return false;
}

bool LoadFields(ByteStream* stream, int32_t context, C_Object& object) {
  StreamLoader loader(stream, context);
  return object.Fields(loader);
}

bool SaveRecord(ByteStream* stream, int32_t context, C_Object& object) {
  if (!WriteField(stream, object.GetClassId())) return Fail();
  StreamSaver saver(stream, context);
  return object.Fields(saver);
}

// --- Loading ---------------------------------------------------------------------

bool StreamLoader::Number(const char*, FieldRef field, Shown) {
  return ReadWireNumber(stream_, field) || Fail(ErrorUnexpectedData);
}

bool StreamLoader::Version(bool& current) {
  uint16_t version = 0;
  if (!ReadField(stream_, version)) return Fail(ErrorUnexpectedData);
  current = version == FormatVersion;
  return true;
}

bool StreamLoader::Text(const char*, char*& text, int32_t* length) {
  uint32_t n = 0;
  if (!ReadField(stream_, n)) return Fail(ErrorUnexpectedData);
  // A record without room for its terminator, or longer than the stream, is
  // refused before anything is allocated; the field keeps its old text.
  if (n == 0 || n > INT32_MAX || !StreamCanHold(stream_, n)) return Fail(ErrorUnexpectedData);
  auto* read = static_cast<char*>(std::malloc(n));
  if (!read) return Fail(ErrorAllocation);
  if (!ReadBytes(stream_, read, n)) {
    std::free(read);
    return Fail(ErrorUnexpectedData);
  }
  // The stored terminator is not trusted: the text ends at the first zero byte.
  read[n - 1] = '\0';
  std::free(text);
  text = read;
  if (length) *length = static_cast<int32_t>(std::strlen(read));
  return true;
}

bool StreamLoader::Bytes(const char*, uint8_t* data, uint32_t size) {
  return ReadBytes(stream_, data, size) || Fail(ErrorUnexpectedData);
}

bool StreamLoader::PixelRows(const char*, const PixelRowsRef& rows) {
  for (uint32_t r = 0; r < rows.Rows; ++r) {
    if (!ReadBytes(stream_, rows.Base + uint64_t(r) * rows.Pitch, rows.RowBytes)) {
      return Fail(ErrorUnexpectedData);
    }
  }
  return true;
}

bool StreamLoader::Member(const char*, C_Object& object) {
  return object.Load(stream_, context_);
}

bool StreamLoader::Held(const char*, C_Object*& object, HeldRule rule) {
  object = nullptr;
  if (rule == HeldRule::Known) {
    uint16_t id = 0;
    if (!ReadField(stream_, id)) return Fail(ErrorUnexpectedData);
    if (id == class_id::None) return true;
    StepBack(stream_, 2);
  }
  const int64_t start = StreamOffset(stream_);
  const bool loaded = LoadHeldObject(stream_, context_, object);
  if (rule == HeldRule::Known && !object) return Fail(ErrorUnexpectedData);
  if (rule != HeldRule::ListItem) return loaded || Fail();
  if (!loaded && stream_->Broken) return Fail();
  // An item that consumed nothing (an unregistered id, or a class that stores
  // nothing) leaves its id unread, so every further item would repeat it and the
  // rest of the list cannot be read: it is refused instead of looped over.
  if (listDepth_ > 0) {
    const ListState& list = lists_[listDepth_ - 1];
    if (list.Index + 1 < list.Count && StreamOffset(stream_) == start) {
      stream_->Broken = true;
      SetError(ErrorUnexpectedData);
      return Fail();
    }
  }
  return true;
}

bool StreamLoader::Presence(const char*, bool& present) {
  uint8_t flag = 0;
  if (!ReadField(stream_, flag)) return Fail(ErrorUnexpectedData);
  present = flag == 1;
  return true;
}

bool StreamLoader::BeginList(const char*, uint32_t& count, ListCount how, uint32_t minItemBytes) {
  if (how == ListCount::Stored && !ReadField(stream_, count)) return Fail(ErrorUnexpectedData);
  // Every item takes at least minItemBytes, which bounds what the list may claim
  // by the bytes left beyond those that enclosing lists still need, so nested lists
  // cannot all claim the same bytes.
  if (count > 0 && !StreamCanHold(stream_, uint64_t{minItemBytes} * count)) {
    return Fail(ErrorUnexpectedData);
  }
  if (listDepth_ >= kMaxLists) return Fail(ErrorUnexpectedData);
  ListState& list = lists_[listDepth_++];
  list = ListState{count, minItemBytes, 0, stream_->Committed, 0};
  return true;
}

bool StreamLoader::Element(uint32_t index) {
  if (listDepth_ == 0) return true;
  ListState& list = lists_[listDepth_ - 1];
  list.Index = index;
  stream_->Committed =
      list.CommittedOutside + int64_t{list.MinItemBytes} * (list.Count - index - 1);
  return true;
}

void StreamLoader::EndList() {
  if (listDepth_ == 0) return;
  stream_->Committed = lists_[--listDepth_].CommittedOutside;
}

bool StreamLoader::BeginMarkedList(const char*, const ListMarkers& markers, bool& present) {
  uint8_t first = 0;
  if (!ReadField(stream_, first)) return Fail(ErrorUnexpectedData);
  present = first == markers.Start;
  return true;
}

// Bytes are read one at a time: the entry marker opens an entry, the end marker or
// the end of the data ends the list, and anything else is skipped. A list cut
// short by the end of the data leaves the stream broken, so that the fields after
// it fail to read.
bool StreamLoader::NextEntry(const ListMarkers& markers, bool& more) {
  more = false;
  uint8_t byte = 0;
  while (RemainingBytes(stream_) > 0 && ReadField(stream_, byte)) {
    if (byte == markers.End) return true;
    if (byte == markers.Entry) {
      more = true;
      return true;
    }
  }
  if (RemainingBytes(stream_) <= 0) stream_->Broken = true;
  return true;
}

bool StreamLoader::Refuse(const char*) {
  return Fail(ErrorUnexpectedData);
}

bool StreamLoader::CanHold(uint64_t bytes) {
  return StreamCanHold(stream_, bytes) || Fail(ErrorUnexpectedData);
}

// --- Saving ----------------------------------------------------------------------

bool StreamSaver::Number(const char*, FieldRef field, Shown) {
  return WriteWireNumber(stream_, field) || Fail();
}

bool StreamSaver::Version(bool& current) {
  current = true;
  return WriteField(stream_, FormatVersion) || Fail();
}

bool StreamSaver::Text(const char*, char*& text, int32_t*) {
  const char* stored = text ? text : "";
  const uint32_t n = static_cast<uint32_t>(std::strlen(stored)) + 1;
  return (WriteField(stream_, n) && WriteBytes(stream_, stored, n)) || Fail();
}

bool StreamSaver::Bytes(const char*, uint8_t* data, uint32_t size) {
  return size == 0 || WriteBytes(stream_, data, size) || Fail();
}

// Rows go top row first whatever the storage order.
bool StreamSaver::PixelRows(const char*, const PixelRowsRef& rows) {
  for (uint32_t y = 0; y < rows.Rows; ++y) {
    if (rows.Base) {
      const uint32_t row = rows.BottomUp ? rows.Rows - 1 - y : y;
      if (!WriteBytes(stream_, rows.Base + uint64_t(row) * rows.Pitch, rows.RowBytes)) {
        return Fail();
      }
    } else {
      for (uint32_t i = 0; i < rows.RowBytes; ++i) {
        if (!WriteField(stream_, uint8_t{0})) return Fail();
      }
    }
  }
  return true;
}

bool StreamSaver::Member(const char*, C_Object& object) {
  return object.Save(stream_, context_);
}

bool StreamSaver::Held(const char*, C_Object*& object, HeldRule) {
  return SaveHeldObject(stream_, context_, object) || Fail();
}

bool StreamSaver::Presence(const char*, bool& present) {
  return WriteField(stream_, uint8_t{present ? uint8_t{1} : uint8_t{0}}) || Fail();
}

bool StreamSaver::BeginList(const char*, uint32_t& count, ListCount how, uint32_t) {
  return how == ListCount::Implied || WriteField(stream_, count) || Fail();
}

bool StreamSaver::BeginMarkedList(const char*, const ListMarkers& markers, bool& present) {
  return WriteField(stream_, present ? markers.Start : markers.End) || Fail();
}

bool StreamSaver::NextEntry(const ListMarkers& markers, bool& more) {
  return WriteField(stream_, more ? markers.Entry : markers.End) || Fail();
}

bool StreamSaver::Refuse(const char*) {
  return Fail(ErrorUnexpectedData);
}
