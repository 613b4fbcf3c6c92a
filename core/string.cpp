#include "core/string.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "core/error.h"
#include "core/record_stream.h"

namespace {

char* CopyText(const char* text, size_t length) {
  auto* copy = static_cast<char*>(std::malloc(length + 1));
  if (!copy) return nullptr;
  std::memcpy(copy, text, length);
  copy[length] = '\0';
  return copy;
}

}  // namespace

C_String::C_String() {
  SetText("");
}

C_String::C_String(const char* text) {
  SetText(text ? text : "");
}

C_String::C_String(int32_t value) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%d", value);
  SetText(digits);
}

C_String::C_String(const C_String& other) : C_Object(other) {
  SetText(other.Text);
}

C_String& C_String::operator=(const C_String& other) {
  if (this != &other) Assign(other);
  return *this;
}

C_String::~C_String() {
  std::free(Text);
}

void C_String::Init() {
  Text = nullptr;
  Length = 0;
}

// Text and Length are reset as well, so that nothing can use or free the freed text.
void C_String::Release() {
  std::free(Text);
  Text = nullptr;
  Length = 0;
}

C_Object* C_String::Clone() {
  auto* copy = new (std::nothrow) C_String();
  if (copy) CopyTo(copy);
  return copy;
}

void C_String::CopyTo(C_String* target) const {
  if (!target || target == this) return;
  target->Assign(*this);
}

void C_String::SetText(const char* text) {
  if (!text) return;
  const size_t length = std::strlen(text);
  char* copy = CopyText(text, length);
  if (!copy) return;
  Text = copy;
  Length = static_cast<int32_t>(length);
}

void C_String::Assign(const C_String& other) {
  if (&other == this) return;
  std::free(Text);
  Text = nullptr;
  Length = 0;
  SetText(other.Text);
}

C_String* C_String::Concat(const C_String& left, const C_String& right) {
  const size_t size = static_cast<size_t>(left.Length) + right.Length + 1;
  auto* joined = static_cast<char*>(std::malloc(size));
  if (!joined) return nullptr;
  std::snprintf(joined, size, "%s%s", left.c_str(), right.c_str());
  auto* result = new (std::nothrow) C_String(joined);
  std::free(joined);
  return result;
}

bool C_String::Equals(const char* text) const {
  if (!Text || !text) return false;
  return std::strcmp(Text, text) == 0;
}

C_String* C_String::Right(int32_t count) const {
  const size_t length = Text ? std::strlen(Text) : 0;
  if (count < 0) count = 0;
  const size_t take = static_cast<size_t>(count) > length ? length : static_cast<size_t>(count);
  auto* result = new (std::nothrow) C_String();
  if (!result) return nullptr;
  char* copy = CopyText(c_str() + (length - take), take);
  if (copy) {
    std::free(result->Text);
    result->Text = copy;
    result->Length = static_cast<int32_t>(take);
  }
  return result;
}

int32_t C_String::FindLastNoCase(const char* needle) const {
  if (!needle || !Text) return kNotFound;
  const size_t m = std::strlen(needle);
  for (int32_t p = Length - 1; p >= 0; --p) {
    // Compare as a zero-padded copy would: the text may end before m bytes.
    size_t i = 0;
    for (; i < m; ++i) {
      const unsigned char have = static_cast<unsigned char>(Text[p + i]);
      const unsigned char want = static_cast<unsigned char>(needle[i]);
      if (std::tolower(have) != std::tolower(want)) break;
      if (have == 0) break;  // the needle is longer than the rest of the text
    }
    if (i == m) return p;
  }
  return kNotFound;
}

C_String* C_String::GetExtension() const {
  const int32_t dot = FindLastNoCase(".");
  if (dot == kNotFound) return new (std::nothrow) C_String();
  return Right(Length - dot - 1);
}

void C_String::InsertChar(int32_t position, char c) {
  if (position < 0 || position > Length) return;
  auto* grown = static_cast<char*>(std::malloc(static_cast<size_t>(Length) + 2));
  if (!grown) return;
  std::memcpy(grown, c_str(), position);
  grown[position] = c;
  std::memcpy(grown + position + 1, c_str() + position, Length - position);
  grown[Length + 1] = '\0';
  std::free(Text);
  Text = grown;
  ++Length;
}

void C_String::DeleteChar(int32_t position) {
  if (!Text || position < 0 || position >= Length) return;
  auto* shrunk = static_cast<char*>(std::malloc(static_cast<size_t>(Length)));
  if (!shrunk) return;
  std::memcpy(shrunk, Text, position);
  std::memcpy(shrunk + position, Text + position + 1, Length - position);
  std::free(Text);
  Text = shrunk;
  --Length;
}

// A refused record leaves the string as it was.
bool C_String::Load(ByteStream* stream, int32_t context) {
  return ReadClassId(stream, *this) && LoadFields(stream, context, *this);
}

bool C_String::Save(ByteStream* stream, int32_t context) {
  return SaveRecord(stream, context, *this);
}

bool C_String::Fields(RecordVisitor& v) {
  return v.Text(nullptr, Text, &Length);
}
