// Registration of the object-model classes during static initialisation: the
// value classes, strings, and the root, containers and holder.
#include "core/array.h"
#include "core/class_registry.h"
#include "core/collection.h"
#include "core/complex.h"
#include "core/pointer.h"
#include "core/resource.h"
#include "core/size.h"
#include "core/string.h"
#include "core/vector2d.h"
#include "core/vector3d.h"
#include "core/vector4d.h"

namespace {

bool RegisterValueClasses() {
  EnsureClassRegistry();
  RegisterClass(class_id::Complex, MakeObject<C_Complex>);
  RegisterClass(class_id::Vector2D, MakeObject<C_Vector2D>);
  RegisterClass(class_id::Vector3D, MakeObject<C_Vector3D>);
  RegisterClass(class_id::Vector4D, MakeObject<C_Vector4D>);
  RegisterClass(class_id::Size, MakeObject<C_Size>);
  return true;
}

bool RegisterStrings() {
  EnsureClassRegistry();
  RegisterClass(class_id::String, MakeObject<C_String>);
  return true;
}

// The thread class of this group registers itself with the thread library.
bool RegisterContainers() {
  EnsureClassRegistry();
  RegisterClass(class_id::Object, MakeObject<C_Object>);
  RegisterClass(class_id::Collection, MakeObject<C_Collection>);
  RegisterClass(class_id::ArrayFactory, MakeObject<C_Array>);
  RegisterClass(class_id::Resource, MakeObject<C_Resource>);
  RegisterClass(class_id::Pointer, MakeObject<C_Pointer>);
  return true;
}

const bool valueClassesRegistered = RegisterValueClasses();
const bool stringsRegistered = RegisterStrings();
const bool containersRegistered = RegisterContainers();

}  // namespace
