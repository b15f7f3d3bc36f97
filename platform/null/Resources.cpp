// The program's resources are the table embedded at build time. Their memory is left as it is:
// there is no system here to hand pages back to.
#include "platform/EmbeddedResources.h"
#include "platform/Resources.h"

namespace skyrift::platform {

const ResourceModule* ProgramModule() {
  return EmbeddedModule();
}

void ReleaseResource(const ResourceEntry*) {}

}  // namespace skyrift::platform
