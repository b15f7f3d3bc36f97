// Lettering: GDI's DrawTextA in the game's own face, added from the resources, so the panel
// reads the same as on every other system.
#include <cstring>
#include <string>

#include "platform/Resources.h"
#include "platform/win32/Pixels.h"

namespace skyrift::platform {
namespace {

uint16_t Read16(const uint8_t* p) {
  return static_cast<uint16_t>((p[0] << 8) | p[1]);
}
uint32_t Read32(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

// A table of a TrueType file, or null when it has none or the table runs past the file's end.
const uint8_t* Table(const uint8_t* file, size_t size, const char* tag, size_t& length) {
  if (size < 12) return nullptr;
  const size_t tables = Read16(file + 4);
  for (size_t i = 0; i < tables && 12 + (i + 1) * 16 <= size; ++i) {
    const uint8_t* record = file + 12 + i * 16;
    if (std::memcmp(record, tag, 4) != 0) continue;
    const size_t offset = Read32(record + 8);
    length = Read32(record + 12);
    return offset <= size && length <= size - offset ? file + offset : nullptr;
  }
  return nullptr;
}

// The family name in the naming table (a Windows-platform record), which is what GDI knows
// the added face by; empty if the file has none.
std::wstring FamilyName(const uint8_t* file, size_t size) {
  size_t length = 0;
  const uint8_t* name = Table(file, size, "name", length);
  if (name == nullptr || length < 6) return {};
  const size_t count = Read16(name + 2), strings = Read16(name + 4);
  for (size_t n = 0; n < count && 6 + (n + 1) * 12 <= length; ++n) {
    const uint8_t* entry = name + 6 + n * 12;
    if (Read16(entry) != 3 || Read16(entry + 6) != 1) continue;  // Windows platform, family
    const size_t bytes = Read16(entry + 8), at = strings + Read16(entry + 10);
    if (at > length || bytes > length - at) continue;
    std::wstring family;
    for (size_t c = 0; c + 1 < bytes; c += 2)
      family.push_back(static_cast<wchar_t>(Read16(name + at + c)));
    return family;
  }
  return {};
}

// The face's weight (400 regular, 700 bold): asked for by family alone, GDI would take the
// regular member of the family from the system's own fonts where there is one.
int Weight(const uint8_t* file, size_t size) {
  size_t length = 0;
  const uint8_t* metrics = Table(file, size, "OS/2", length);
  return metrics != nullptr && length >= 6 ? Read16(metrics + 4) : FW_NORMAL;
}

// Added on first use and kept for the life of the program; null when the face is missing.
HFONT Face() {
  static HFONT face = []() -> HFONT {
    const ResourceEntry* entry =
        LookUpResource(ProgramModule(), kTextFaceResource, kRcDataResource);
    if (entry == nullptr) return nullptr;
    const std::wstring family = FamilyName(entry->data, entry->size);
    DWORD added = 0;
    if (family.empty() ||
        AddFontMemResourceEx(const_cast<uint8_t*>(entry->data), static_cast<DWORD>(entry->size),
                             nullptr, &added) == nullptr) {
      return nullptr;
    }
    return CreateFontW(-kTextFacePixelSize, 0, 0, 0, Weight(entry->data, entry->size), FALSE, FALSE,
                       FALSE, DEFAULT_CHARSET, OUT_TT_ONLY_PRECIS, CLIP_DEFAULT_PRECIS,
                       ANTIALIASED_QUALITY, DEFAULT_PITCH, family.c_str());
  }();
  return face;
}

}  // namespace

void Surface::WriteText(const RECT& area, const char* text, COLORREF colour) {
  HFONT face = Face();
  if (face == nullptr || text == nullptr || text[0] == '\0') return;
  auto& dib = static_cast<DibPixels&>(pixels());
  // Selected once per surface and left there: selecting a face makes the system look it up
  // again, which the panel's dozen numbers a frame would otherwise pay every time.
  if (dib.previousFont == nullptr) {
    dib.previousFont = SelectObject(dib.dc, face);
    SetBkMode(dib.dc, TRANSPARENT);
  }
  SetTextColor(dib.dc, colour);  // a COLORREF is GDI's own colour
  ::RECT box{area.left, area.top, area.right, area.bottom};
  DrawTextA(dib.dc, text, -1, &box, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  GdiFlush();  // the bits are read and written directly next
}

}  // namespace skyrift::platform
