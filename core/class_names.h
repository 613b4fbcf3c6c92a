// The names of the classes by the id their records start with, for the tools that
// show records (pakdump) and write them as text (paktext).
#pragma once

#include <cstdint>

class C_Object;

// The class name of a record id ("C_Color"), or null for an id no class writes.
// Id 21 is named C_Array: C_Array's records carry it, although a container that
// meets it creates a plain C_Object.
const char* ClassNameOf(uint16_t classId);
// The id of a class name; 0 when the name is unknown.
uint16_t ClassIdNamed(const char* name);
// A new object for a file whose one record starts with classId: the class the
// record's id stands for (C_Array for 21), or null when none is registered.
C_Object* NewObjectForRecord(uint16_t classId);
