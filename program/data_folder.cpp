#include "program/data_folder.h"

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

// Where the data folder is looked for, relative to the executable's folder, in order.
struct Candidate {
  const char* Up;      // folders to climb first
  const char* Folder;  // the data folder's name there
};
constexpr Candidate kCandidates[] = {
    {"", kDataFolderName},
    {"../", kDataFolderName},
    {"../../", kDataFolderName},
    {"../", kInstalledDataFolder},
};

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
  for (const Candidate& candidate : kCandidates) {
    const int written =
        std::snprintf(out, size_t(size), "%s%s%s/", folder, candidate.Up, candidate.Folder);
    if (Fits(written, size) && IsFolder(out)) return true;
  }
  return Fits(std::snprintf(out, size_t(size), "%s%s/", folder, kDataFolderName), size);
}
