#include "platform/EmbeddedModule.h"

#include <cstdint>

// Defined by the generated resources.S; weak so that programs without resources still link.
extern "C" {
extern const skyrift::platform::ResourceEntry skyrift_resource_table[] __attribute__((weak));
extern const uint64_t skyrift_resource_count __attribute__((weak));
}

namespace skyrift::platform {

const ResourceModule* EmbeddedModule() {
  static const ResourceModule module{
      skyrift_resource_table,
      &skyrift_resource_count != nullptr ? static_cast<size_t>(skyrift_resource_count) : 0};
  return &module;
}

}  // namespace skyrift::platform
