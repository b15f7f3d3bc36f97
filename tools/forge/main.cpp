// Command line of the asset forge:
//   forge images OUTDIR        every picture, icon and the text face
//   forge audio OUTDIR [ENDSDIR]   every sample and music loop; with ENDSDIR, also the sound
//                                  each loop's encoder was given at its two ends
//   forge sheet IMAGEDIR PNG   a contact sheet of the pictures
#include "Forge.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  using namespace skyrift::forge;
  const std::string verb = argc > 1 ? argv[1] : "";
  if (verb == "images" && argc == 3) return ForgeImages(argv[2]);
  if (verb == "audio" && (argc == 3 || argc == 4))
    return ForgeAudio(argv[2], argc == 4 ? argv[3] : "");
  if (verb == "sheet" && argc == 4) return WriteContactSheet(argv[2], argv[3]);
  std::fprintf(
      stderr,
      "usage: forge images OUTDIR | forge audio OUTDIR [ENDSDIR] | forge sheet IMAGEDIR PNG\n");
  return 2;
}
