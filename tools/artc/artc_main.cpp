// artc: compiles the art sources into the bitmaps the game loads.
//
//   artc <manifest> <output folder> [<review png>]
//
// The manifest, in the source folder, lists what to read, in order:
//   pictures <file> ...     picture files (a picture must come before its users)
//   sheet <file>            a sheet to compile and write under the output folder
//   spritedef <file>        checked against the sheets, then copied as is
// Every problem stops the build with a message naming the file and line.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "art_build.h"
#include "png.h"
#include "review.h"

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: artc <manifest> <output folder> [<review png>]\n");
    return 2;
  }
  ArtC::ArtBuild build;
  std::string error;
  if (!build.Run(argv[1], argv[2], &error)) {
    std::fprintf(stderr, "artc: %s\n", error.c_str());
    return 1;
  }
  if (argc == 4) {
    std::filesystem::create_directories(std::filesystem::path(argv[3]).parent_path());
    if (!ImageKit::WritePng(argv[3], ArtC::RenderReview(build.Sheets(), build.Sprites()), &error)) {
      std::fprintf(stderr, "artc: %s\n", error.c_str());
      return 1;
    }
  }
  return 0;
}
