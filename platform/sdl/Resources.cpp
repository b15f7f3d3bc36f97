#include "platform/Resources.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

#include "platform/EmbeddedModule.h"

namespace skyrift::platform {

const ResourceModule* ProgramModule() {
  return EmbeddedModule();
}

void ReleaseResource(const ResourceEntry* entry) {
  // Only the program's own table points into the executable's read-only data, whose pages the
  // kernel can drop and fault back in unchanged; anything else may be memory someone owns.
  const ResourceModule* program = ProgramModule();
  if (entry == nullptr || program->entries == nullptr || entry < program->entries ||
      entry >= program->entries + program->count || entry->data == nullptr) {
    return;
  }
  // The whole pages inside the resource: its neighbours may still be wanted.
  const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto begin = reinterpret_cast<uintptr_t>(entry->data);
  const uintptr_t first = (begin + page - 1) / page * page;
  const uintptr_t last = (begin + entry->size) / page * page;
  if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
}

}  // namespace skyrift::platform
