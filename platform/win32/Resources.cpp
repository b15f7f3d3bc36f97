// The executable's resources, compiled in by windres, gathered into the table the game looks
// them up in. Bitmaps and raw data are the system's own memory; an icon group is put back
// together as the .ico file it was compiled from.
#include "platform/Resources.h"

#include "platform/win32/Win32.h"

#include <cstring>
#include <memory>
#include <span>
#include <vector>

namespace skyrift::platform {
namespace {

#pragma pack(push, 2)
struct IconDirectoryEntry {  // shared by .ico files and icon groups up to the last field
  BYTE width, height, colours, reserved;
  WORD planes, bitCount;
  DWORD bytes;
};
#pragma pack(pop)
constexpr size_t kGroupEntrySize = sizeof(IconDirectoryEntry) + 2;  // then the icon's number
constexpr size_t kFileEntrySize = sizeof(IconDirectoryEntry) + 4;   // then the image's offset
constexpr WORD kIconImageResource = 3;                              // one image of a group

std::span<const uint8_t> Bytes(HMODULE module, HRSRC found) {
  HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data == nullptr) return {};
  return {static_cast<const uint8_t*>(data), SizeofResource(module, found)};
}

// The .ico file of an icon group: its directory with offsets in place of icon numbers, then
// each icon's image. Empty when a part is missing or the group is damaged.
std::vector<uint8_t> IconFile(HMODULE module, std::span<const uint8_t> group) {
  if (group.size() < 6) return {};
  WORD count = 0;
  std::memcpy(&count, group.data() + 4, 2);
  if (group.size() < 6 + count * kGroupEntrySize) return {};
  std::vector<uint8_t> file(group.begin(), group.begin() + 6);
  file.resize(6 + count * kFileEntrySize);
  for (WORD i = 0; i < count; ++i) {
    const uint8_t* entry = group.data() + 6 + i * kGroupEntrySize;
    WORD number = 0;
    std::memcpy(&number, entry + sizeof(IconDirectoryEntry), 2);
    const auto image = Bytes(module, FindResourceW(module, MAKEINTRESOURCEW(number),
                                                   MAKEINTRESOURCEW(kIconImageResource)));
    if (image.empty()) return {};
    const auto offset = static_cast<DWORD>(file.size());
    uint8_t* out = file.data() + 6 + i * kFileEntrySize;
    std::memcpy(out, entry, sizeof(IconDirectoryEntry));
    std::memcpy(out + sizeof(IconDirectoryEntry), &offset, 4);
    file.insert(file.end(), image.begin(), image.end());
  }
  return file;
}

struct Table {
  std::vector<ResourceEntry> entries;
  std::vector<std::unique_ptr<std::vector<uint8_t>>> iconFiles;  // the bytes icon entries point at
  ResourceModule module{nullptr, 0};
};

BOOL CALLBACK AddResource(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR context) {
  if (!IS_INTRESOURCE(name)) return TRUE;  // the script numbers everything
  auto& table = *reinterpret_cast<Table*>(context);
  const auto id = static_cast<uint16_t>(reinterpret_cast<uintptr_t>(name));
  const auto kind = static_cast<uint16_t>(reinterpret_cast<uintptr_t>(type));
  std::span<const uint8_t> bytes = Bytes(module, FindResourceW(module, name, type));
  if (kind == kIconGroupResource) {
    auto file = std::make_unique<std::vector<uint8_t>>(IconFile(module, bytes));
    bytes = *file;
    table.iconFiles.push_back(std::move(file));
  }
  if (!bytes.empty())
    table.entries.push_back(ResourceEntry{id, kind, 0, bytes.data(), bytes.size()});
  return TRUE;
}

}  // namespace

const ResourceModule* ProgramModule() {
  static Table table = [] {
    Table made;
    HMODULE self = GetModuleHandleW(nullptr);
    for (uint16_t type : {kBitmapResource, kRcDataResource, kIconGroupResource}) {
      EnumResourceNamesW(self, MAKEINTRESOURCEW(type), AddResource,
                         reinterpret_cast<LONG_PTR>(&made));
    }
    made.module = ResourceModule{made.entries.data(), made.entries.size()};
    return made;
  }();
  return &table.module;
}

void ReleaseResource(const ResourceEntry* entry) {
  // Only the program's own bitmaps and data lie in the executable's mapped image, whose pages
  // the system reads back from the file when touched again; anything else is someone's memory.
  const ResourceModule* program = ProgramModule();
  if (entry == nullptr || program->entries == nullptr || entry < program->entries ||
      entry >= program->entries + program->count || entry->data == nullptr ||
      entry->type == kIconGroupResource) {
    return;
  }
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  const uintptr_t page = system.dwPageSize;
  const auto begin = reinterpret_cast<uintptr_t>(entry->data);
  const uintptr_t first = (begin + page - 1) / page * page;
  const uintptr_t last = (begin + entry->size) / page * page;
  // Unlocking pages that were never locked takes them out of the working set.
  if (last > first) VirtualUnlock(reinterpret_cast<void*>(first), last - first);
}

}  // namespace skyrift::platform
