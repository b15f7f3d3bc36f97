// The program's resources are the table embedded at build time. Their memory is left as it is:
// there is no system here to hand pages back to.
#include "platform/EmbeddedModule.h"
#include "platform/Resources.h"

namespace skyrift::platform {

// A real system: the program's resources: the embedded table, or the system's own resources read
// into the same entries.
const ResourceModule* ProgramModule() {
  return EmbeddedModule();
}

// A real system: hand the pages of a resource already read back to the system.
void ReleaseResource(const ResourceEntry*) {}

}  // namespace skyrift::platform
