#include "platform/Resources.h"

// Defined by the generated resources.S; weak so that programs without resources still link.
extern "C" {
extern const skyrift::platform::ResourceEntry skyrift_resource_table[] __attribute__((weak));
extern const uint64_t skyrift_resource_count __attribute__((weak));
}

namespace skyrift::platform {

const ResourceModule* ProgramModule() {
  static const ResourceModule module{
      skyrift_resource_table, &skyrift_resource_count != nullptr ? skyrift_resource_count : 0};
  return &module;
}

const ResourceEntry* FindResource(const ResourceModule* module, uint16_t id, uint16_t type) {
  if (module == nullptr || module->entries == nullptr) return nullptr;
  for (size_t i = 0; i < module->count; ++i) {
    const ResourceEntry& entry = module->entries[i];
    if (entry.id == id && entry.type == type) return &entry;
  }
  return nullptr;
}

}  // namespace skyrift::platform
