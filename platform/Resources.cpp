// Looking a resource up by number and type, the same in every module whichever platform made it.
#include "platform/Resources.h"

namespace skyrift::platform {

const ResourceEntry* LookUpResource(const ResourceModule* module, uint16_t id, uint16_t type) {
  if (module == nullptr || module->entries == nullptr) return nullptr;
  for (size_t i = 0; i < module->count; ++i) {
    const ResourceEntry& entry = module->entries[i];
    if (entry.id == id && entry.type == type) return &entry;
  }
  return nullptr;
}

}  // namespace skyrift::platform
