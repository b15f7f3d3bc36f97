// The program's resources are the table embedded at build time, part of the page's WebAssembly
// memory, which cannot be handed back piecemeal.
#include "platform/EmbeddedModule.h"
#include "platform/Resources.h"

namespace skyrift::platform {

const ResourceModule* ProgramModule() {
  return EmbeddedModule();
}

void ReleaseResource(const ResourceEntry*) {}

}  // namespace skyrift::platform
