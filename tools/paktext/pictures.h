// The pixel rows of an image record as a file of the text form: a PNG where every
// byte of a pixel is one 8-bit channel that PNG stores (grey, palette indexes, RGB
// and RGBA in any byte order), raw rows (top row first, RowBytes each) otherwise.
#pragma once

#include <string>

#include "core/record_visitor.h"

// "png" or "raw": how the rows of this format are stored.
const char* PictureEncoding(const PixelRowsRef& rows);
// Writes the rows to `path` in the encoding PictureEncoding names. False with
// `error` set when the file cannot be written.
bool WritePicture(const std::string& path, const PixelRowsRef& rows, std::string& error);
// Reads the rows back from `path` into rows.Base (Pitch apart, top row first).
// False with `error` set when the file is missing, unreadable or not exactly the
// size the record claims.
bool ReadPicture(const std::string& path, const std::string& encoding, const PixelRowsRef& rows,
                 std::string& error);
