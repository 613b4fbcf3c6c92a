// Reading and writing the records of the small value classes: the class id
// followed by a fixed list of fields, read over the fields in place.
#pragma once

#include "core/byte_stream.h"
#include "core/error.h"
#include "core/object.h"

// Reads the id and each field; a short record fails with ErrorUnexpectedData then -1. Fields read
// before the stream ran out keep their new values.
template <class... Fields>
bool LoadValueRecord(ByteStream* stream, const C_Object& object, Fields&... fields) {
  if (!ReadClassId(stream, object)) return false;
  if (!(ReadField(stream, fields) && ...)) return Fail(ErrorUnexpectedData);
  return true;
}

template <class... Fields>
bool SaveValueRecord(ByteStream* stream, const C_Object& object, const Fields&... fields) {
  if (!WriteField(stream, object.GetClassId())) return Fail();
  if (!(WriteField(stream, fields) && ...)) return Fail();
  return true;
}
