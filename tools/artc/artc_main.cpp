// artc: compiles the art sources into the bitmaps the game loads.
//
//   artc <manifest> <output folder> [<review folder>]
//
// The manifest, in the source folder, lists what to read, in order:
//   pictures <file> ...     picture files (a picture must come before its users)
//   sheet <file>            a sheet to compile and write under the output folder
//   spritedef <file>        checked against the sheets, then copied as is
//   preview <file>          a scene for the window mock-up (see preview.h)
// The review folder receives "art_review.png" (every tile and sprite) and
// one "<scene name>.png" a preview line (the window mock-up at its real size).
// Every problem stops the build with a message naming the file and line.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "art_build.h"
#include "png.h"
#include "preview.h"
#include "review.h"

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: artc <manifest> <output folder> [<review folder>]\n");
    return 2;
  }
  ArtC::ArtBuild build;
  std::string error;
  if (!build.Run(argv[1], argv[2], &error)) {
    std::fprintf(stderr, "artc: %s\n", error.c_str());
    return 1;
  }
  if (argc == 4) {
    const std::filesystem::path reviews(argv[3]);
    std::filesystem::create_directories(reviews);
    if (!ImageKit::WritePng((reviews / "art_review.png").string(),
                            ArtC::RenderReview(build.Sheets(), build.Sprites()), &error)) {
      std::fprintf(stderr, "artc: %s\n", error.c_str());
      return 1;
    }
    for (const std::string& scene : build.PreviewScenes()) {
      std::optional<ImageKit::Image> screen =
          ArtC::RenderScreenPreview(scene, build.Sheets(), build.Sprites(), &error);
      const std::string target = (reviews / std::filesystem::path(scene).stem()).string() + ".png";
      if (!screen || !ImageKit::WritePng(target, *screen, &error)) {
        std::fprintf(stderr, "artc: %s\n", error.c_str());
        return 1;
      }
    }
  }
  return 0;
}
