// Lettering: one line of text in the game's embedded face, right-aligned and vertically centred.
#include <SDL_ttf.h>

#include "platform/Resources.h"
#include "platform/sdl/Pixels.h"

namespace skyrift::platform {
namespace {

// Opened on first use and kept for the life of the program.
TTF_Font* Face() {
  static TTF_Font* face = []() -> TTF_Font* {
    const ResourceEntry* entry =
        LookUpResource(ProgramModule(), kTextFaceResource, kRcDataResource);
    if (entry == nullptr) return nullptr;
    if (TTF_WasInit() == 0 && TTF_Init() != 0) return nullptr;
    SDL_RWops* stream = SDL_RWFromConstMem(entry->data, static_cast<int>(entry->size));
    return stream != nullptr ? TTF_OpenFontRW(stream, 1, kTextFacePixelSize) : nullptr;
  }();
  return face;
}

}  // namespace

void Surface::WriteText(const RECT& area, const char* text, COLORREF colour) {
  TTF_Font* face = Face();
  if (face == nullptr || text == nullptr || text[0] == '\0') return;
  const SDL_Color fore{GetRValue(colour), GetGValue(colour), GetBValue(colour), 255};
  SDL_Surface* line = TTF_RenderUTF8_Blended(face, text, fore);
  if (line == nullptr) return;
  SDL_Rect clip{area.left, area.top, area.right - area.left, area.bottom - area.top};
  SDL_Rect place{area.right - line->w, area.top + (clip.h - line->h) / 2, line->w, line->h};
  SDL_Surface* target = SdlSurface(*this);
  SDL_Rect oldClip;
  SDL_GetClipRect(target, &oldClip);
  SDL_SetClipRect(target, &clip);
  SDL_BlitSurface(line, nullptr, target, &place);
  SDL_SetClipRect(target, &oldClip);
  SDL_FreeSurface(line);
}

}  // namespace skyrift::platform
