#include "app/data_folder.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

bool Fits(int written, int32_t size) {
  return written > 0 && written < size;
}

bool IsFolder(const char* path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

}  // namespace

bool FindDataFolder(const char* given, const char* programFolder, char* out, int32_t size) {
  if (!out || size <= 0) return false;
  out[0] = '\0';
  if (given && given[0] != '\0') {
    const size_t length = std::strlen(given);
    const char* slash = given[length - 1] == '/' ? "" : "/";
    return Fits(std::snprintf(out, size_t(size), "%s%s", given, slash), size);
  }
  const char* folder = programFolder ? programFolder : "";
  const char* const candidates[] = {"%s%s/", "%s../%s/"};
  for (const char* pattern : candidates) {
    if (!Fits(std::snprintf(out, size_t(size), pattern, folder, kDataFolderName), size)) continue;
    if (IsFolder(out)) return true;
  }
  return Fits(std::snprintf(out, size_t(size), "%s%s/", folder, kDataFolderName), size);
}
