// Placeholder until the sound forge lands.
#include "Forge.h"

namespace skyrift::forge {
int ForgeAudio(const std::filesystem::path&) { return 0; }
}  // namespace skyrift::forge
