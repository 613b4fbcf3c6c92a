// The two directions of paktext, callable from tests and the fuzz target.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Writes FILE's one record as DIR/object.json and its pictures in DIR (created
// when missing). False with `error` set when the file does not load whole.
bool ExportObjectFile(const std::string& file, const std::string& folder, std::string& error);

// Reads DIR/object.json (or the .json file `source` names) and its pictures and
// writes the object file FILE, through a temporary beside it that is renamed over
// FILE only when everything was written. False with `error` set (one line naming
// the JSON path) and FILE untouched.
bool BuildObjectFile(const std::string& source, const std::string& file, std::string& error);

// What the sizes a text claims (pixels, palettes, data) may allocate all together.
inline constexpr uint64_t kTextFormByteLimit = uint64_t{256} << 20;

// The object a text describes, saved into memory: the bytes `paktext build` would
// write. `folder` holds the pictures. False with `error` set.
bool BuildObjectBytes(const char* text, size_t size, const std::string& folder, std::string& bytes,
                      std::string& error, uint64_t byteLimit = kTextFormByteLimit);
