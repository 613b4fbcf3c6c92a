// paktext: the text form of the object files.
//   paktext export FILE DIR   writes DIR/object.json and the pictures beside it
//   paktext build DIR FILE    writes FILE from them (DIR may also be one .json file)
// Exit status: 0 done, 1 the input is wrong (one line on stderr says where and
// what; no output file is left behind), 2 a usage error.
#include <cstdio>
#include <cstring>
#include <string>

#include "program/standard_options.h"
#include "tools/paktext/paktext.h"

namespace {

const ProgramUsage kUsage = {
    "paktext",
    "usage: paktext export FILE DIR\n"
    "       paktext build DIR FILE\n",
    "\nexport writes FILE's object tree as DIR/object.json, every field by its name\n"
    "and class, with the pixel rows of images as PNG or raw files beside it.\n"
    "build writes the object file FILE from DIR/object.json (or from one .json file,\n"
    "its pictures beside it); a fault is one line naming its JSON path, status 1.\n"};

}  // namespace

int main(int argc, char** argv) {
  int status = 0;
  if (AnswerNameOnlyOptions(argc, argv, kUsage, status)) return status;
  const bool exporting = argc == 4 && std::strcmp(argv[1], "export") == 0;
  const bool building = argc == 4 && std::strcmp(argv[1], "build") == 0;
  if (!exporting && !building) return UsageError(kUsage, "needs export or build and two names");
  std::string error;
  const bool done = exporting ? ExportObjectFile(argv[2], argv[3], error)
                              : BuildObjectFile(argv[2], argv[3], error);
  if (!done) {
    std::fprintf(stderr, "paktext: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
