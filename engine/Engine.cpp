#include "engine/Engine.h"

#include <cstring>

#include "platform/Resources.h"

namespace skyrift {

Engine* Engine::Current = nullptr;

namespace {
// Names are copied only when given, and cut to the 31 characters the buffers hold.
void CopyName(char (&buffer)[32], const char* name) {
  if (name == nullptr || name[0] == '\0') return;
  std::strncpy(buffer, name, sizeof buffer - 1);
  buffer[sizeof buffer - 1] = '\0';
}
}  // namespace

Engine::Engine(HINSTANCE module, const char* className, const char* caption, uint16_t icon,
               uint16_t smallIcon, int clientWidth, int clientHeight)
    : instance(module),
      iconId(icon),
      smallIconId(smallIcon),
      width(clientWidth),
      height(clientHeight) {
  CopyName(windowClass, className);
  CopyName(title, caption);
  sprites.reserve(500);
  Current = this;
}

Engine::~Engine() {
  // Nothing may reach a deleted engine through the static pointer.
  if (Current == this) Current = nullptr;
}

BOOL Engine::CreateGameWindow(int /*showCommand*/) {
  const platform::WindowSpec spec{instance, windowClass, title, iconId, smallIconId, width, height};
  ownedWindow = platform::Window::Create(spec, windowError);
  if (ownedWindow == nullptr) return FALSE;
  // The window answers its creation message before it is shown, as the game expects.
  OnWindowMessage(ownedWindow.get(), platform::Message{platform::MessageKind::Create});
  ownedWindow->Show();
  OnWindowMessage(ownedWindow.get(), platform::Message{platform::MessageKind::Paint});
  return TRUE;
}

int Engine::OnWindowMessage(HWND handle, const platform::Message& message) {
  using platform::MessageKind;
  const int x = message.lParam & 0xFFFF;
  const int y = (message.lParam >> 16) & 0xFFFF;
  switch (message.kind) {
    case MessageKind::Create:
      SetWindow(handle);
      GameStart(handle);
      return 0;
    case MessageKind::Activate:
      if (message.wParam != 0) {
        GameActivate(handle);
        SetAsleep(FALSE);
      } else {
        GameDeactive(handle);
        SetAsleep(TRUE);
      }
      return 0;
    case MessageKind::Paint:
      if (handle != nullptr) {
        if (HDC dc = handle->Frame()) {
          GameDraw(dc);
          handle->Present();
        }
      }
      return 0;
    case MessageKind::LeftDown:
      MouseDown(x, y, TRUE);
      return 0;
    case MessageKind::LeftUp:
      MouseUp(x, y, TRUE);
      return 0;
    case MessageKind::RightDown:
      MouseDown(x, y, FALSE);
      return 0;
    case MessageKind::RightUp:
      MouseUp(x, y, FALSE);
      return 0;
    case MessageKind::MouseMove:
      MouseMoved(x, y);
      return 0;
    case MessageKind::Destroy:
      // GameEnd deletes this engine: nothing of it may be touched afterwards.
      GameEnd();
      platform::PostQuitMessage(0);
      return 0;
    default:
      return 0;
  }
}

void Engine::FatalError(const char* text) {
  platform::ShowErrorBox(window, "Critical Error", text);
  platform::PostQuitMessage(0);
}

}  // namespace skyrift
