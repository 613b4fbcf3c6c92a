#include "image/channel.h"

#include <new>

#include "image/image.h"

C_Channel::~C_Channel() {
  Release();
}

void C_Channel::Init() {
  Image = nullptr;
  Key = 0;
  SharedImage = 0;
}

void C_Channel::Release() {
  if (!SharedImage) delete Image;
  Image = nullptr;  // a second Release must not delete it again
}

C_Object* C_Channel::Clone() {
  auto* copy = new (std::nothrow) C_Channel();
  if (!copy) return nullptr;
  CopyTo(copy);
  return copy;
}

bool C_Channel::CopyTo(C_Channel* target) const {
  if (!target || target == this) return target != nullptr;
  target->Release();
  target->Key = Key;
  target->SharedImage = SharedImage;
  if (SharedImage || !Image) {
    target->Image = Image;
    return true;
  }
  target->Image = static_cast<C_Image*>(Image->Clone());
  return target->Image != nullptr;
}
