// The gamepad on SDL: one open device at a time, chosen afresh whenever the set of plugged-in
// devices changes, and read by polling rather than through events.
#include "platform/Gamepad.h"

#include <SDL.h>

namespace skyrift::platform {
namespace {

constexpr uint32_t kAxisMax = 65535;
constexpr uint32_t kCentre = 32768;  // SDL's resting 0, moved into the 0 to 65535 range
constexpr int kButtons = 6;

// Buttons 1 to 6 of a controller: A, B, X, Y, then the shoulders.
constexpr SDL_GameControllerButton kControllerButtons[kButtons] = {
    SDL_CONTROLLER_BUTTON_A,
    SDL_CONTROLLER_BUTTON_B,
    SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y,
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
    SDL_CONTROLLER_BUTTON_RIGHTSHOULDER};

bool started = false;
int knownCount = -1;  // devices plugged in when the current one was chosen
SDL_GameController* controller = nullptr;
SDL_Joystick* joystick = nullptr;  // the plain joystick, or the controller's own
SDL_JoystickID openId = -1;

uint32_t FromSdlAxis(Sint16 value) {
  return static_cast<uint32_t>(static_cast<int32_t>(value) + 32768);
}
Sint16 ToSdlAxis(uint32_t value) {
  if (value > kAxisMax) value = kAxisMax;
  return static_cast<Sint16>(static_cast<int32_t>(value) - 32768);
}

void CloseCurrent() {
  if (controller != nullptr) {
    SDL_GameControllerClose(controller);
  } else if (joystick != nullptr) {
    SDL_JoystickClose(joystick);
  }
  controller = nullptr;
  joystick = nullptr;
  openId = -1;
}

bool CurrentAttached() {
  return joystick != nullptr && SDL_JoystickGetAttached(joystick);
}

// The first controller, else the first joystick; -1 when nothing is plugged in.
int BestDeviceIndex(int count) {
  for (int i = 0; i < count; ++i) {
    if (SDL_IsGameController(i)) return i;
  }
  return count > 0 ? 0 : -1;
}

void ChooseDevice(int count) {
  knownCount = count;
  const int index = BestDeviceIndex(count);
  if (index >= 0 && CurrentAttached() && SDL_JoystickGetDeviceInstanceID(index) == openId) return;
  CloseCurrent();
  if (index < 0) return;
  if (SDL_IsGameController(index)) {
    controller = SDL_GameControllerOpen(index);
    joystick = controller != nullptr ? SDL_GameControllerGetJoystick(controller) : nullptr;
  } else {
    joystick = SDL_JoystickOpen(index);
  }
  if (joystick == nullptr) {
    CloseCurrent();
    return;
  }
  openId = SDL_JoystickInstanceID(joystick);
}

void ReadController(GamepadReading& reading) {
  reading.x = FromSdlAxis(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX));
  reading.y = FromSdlAxis(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY));
  // The d-pad pushes the position to the end of its axis, over whatever the stick says.
  if (SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_LEFT)) reading.x = 0;
  if (SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_RIGHT))
    reading.x = kAxisMax;
  if (SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_UP)) reading.y = 0;
  if (SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_DOWN))
    reading.y = kAxisMax;
  for (int i = 0; i < kButtons; ++i) {
    if (SDL_GameControllerGetButton(controller, kControllerButtons[i])) reading.buttons |= 1u << i;
  }
}

void ReadJoystick(GamepadReading& reading) {
  const int axes = SDL_JoystickNumAxes(joystick);
  reading.x = axes > 0 ? FromSdlAxis(SDL_JoystickGetAxis(joystick, 0)) : kCentre;
  reading.y = axes > 1 ? FromSdlAxis(SDL_JoystickGetAxis(joystick, 1)) : kCentre;
  if (SDL_JoystickNumHats(joystick) > 0) {
    const Uint8 hat = SDL_JoystickGetHat(joystick, 0);
    if (hat & SDL_HAT_LEFT) reading.x = 0;
    if (hat & SDL_HAT_RIGHT) reading.x = kAxisMax;
    if (hat & SDL_HAT_UP) reading.y = 0;
    if (hat & SDL_HAT_DOWN) reading.y = kAxisMax;
  }
  const int buttons = SDL_JoystickNumButtons(joystick);
  for (int i = 0; i < kButtons && i < buttons; ++i) {
    if (SDL_JoystickGetButton(joystick, i)) reading.buttons |= 1u << i;
  }
}

}  // namespace

bool OpenGamepads() {
  if (started) return true;
  // The game itself decides when the pad counts (only while its window is active), and a
  // window under a bare X server may never be given the keyboard focus SDL would wait for.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  // ReadGamepad updates the pads once a frame. Left to SDL, the update would run inside every
  // event wait, which then polls each millisecond instead of sleeping while a pad is plugged in.
  SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) != 0) return false;
  started = true;
  CaptureGamepad(false);
  return true;
}

int GamepadCount() {
  if (!started) return 0;
  SDL_JoystickUpdate();
  const int count = SDL_NumJoysticks();
  return count > 0 ? count : 0;
}

GamepadCaps GamepadCapabilities() {
  return GamepadCaps{0, kAxisMax, 0, kAxisMax};
}

bool ReadGamepad(GamepadReading& reading) {
  reading = GamepadReading{};
  if (!started) return false;
  // Polled rather than left to the event pump: this also notices pads plugged in or pulled
  // out while their events are not being queued.
  SDL_JoystickUpdate();
  const int count = SDL_NumJoysticks();
  if (count != knownCount || !CurrentAttached()) ChooseDevice(count > 0 ? count : 0);
  if (!CurrentAttached()) return false;
  if (controller != nullptr) {
    ReadController(reading);
  } else {
    ReadJoystick(reading);
  }
  return true;
}

void CaptureGamepad(bool captured) {
  if (!started) return;
  // Only the pad's events are switched: the state read by ReadGamepad is kept either way.
  const int state = captured ? SDL_ENABLE : SDL_IGNORE;
  SDL_JoystickEventState(state);
  SDL_GameControllerEventState(state);
}

// --- The virtual pad ------------------------------------------------------------------------
namespace {

SDL_Joystick* virtualPad = nullptr;  // our own handle on it, for setting its inputs
bool virtualIsController = false;

// Virtual controllers get SDL's standard layout: buttons a, b, x, y, back, guide, start, the
// stick clicks, the shoulders, then the d-pad; axes the left stick, the right stick, the
// triggers. Written out here rather than taken from the reading side, so that a test of the
// reading side through a virtual pad can catch a wrong mapping.
constexpr int kControllerButtonCount = 15;
constexpr int kControllerAxisCount = 6;
constexpr int kVirtualButtons[kButtons] = {0, 1, 2, 3, 9, 10};
constexpr int kVirtualDpadUp = 11, kVirtualDpadDown = 12, kVirtualDpadLeft = 13,
              kVirtualDpadRight = 14;
constexpr int kVirtualLeftX = 0, kVirtualLeftY = 1;

}  // namespace

bool AttachVirtualGamepad(bool gameController) {
  if (virtualPad != nullptr || !OpenGamepads()) return false;
  const int index = gameController
                        ? SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER,
                                                    kControllerAxisCount, kControllerButtonCount, 0)
                        : SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 2, kButtons, 1);
  if (index < 0) return false;
  virtualPad = SDL_JoystickOpen(index);
  if (virtualPad == nullptr) {
    SDL_JoystickDetachVirtual(index);
    return false;
  }
  virtualIsController = gameController;
  return true;
}

void SetVirtualGamepadPosition(uint32_t x, uint32_t y) {
  if (virtualPad == nullptr) return;
  // A plain joystick's position is its first two axes, which are the controller's left stick.
  SDL_JoystickSetVirtualAxis(virtualPad, kVirtualLeftX, ToSdlAxis(x));
  SDL_JoystickSetVirtualAxis(virtualPad, kVirtualLeftY, ToSdlAxis(y));
}

void SetVirtualGamepadButton(int button, bool down) {
  if (virtualPad == nullptr || button < 1 || button > kButtons) return;
  const int index = virtualIsController ? kVirtualButtons[button - 1] : button - 1;
  SDL_JoystickSetVirtualButton(virtualPad, index, down ? SDL_PRESSED : SDL_RELEASED);
}

void SetVirtualGamepadDpad(bool up, bool down, bool left, bool right) {
  if (virtualPad == nullptr) return;
  if (virtualIsController) {
    SDL_JoystickSetVirtualButton(virtualPad, kVirtualDpadUp, up);
    SDL_JoystickSetVirtualButton(virtualPad, kVirtualDpadDown, down);
    SDL_JoystickSetVirtualButton(virtualPad, kVirtualDpadLeft, left);
    SDL_JoystickSetVirtualButton(virtualPad, kVirtualDpadRight, right);
    return;
  }
  Uint8 hat = SDL_HAT_CENTERED;
  if (up) hat |= SDL_HAT_UP;
  if (down) hat |= SDL_HAT_DOWN;
  if (left) hat |= SDL_HAT_LEFT;
  if (right) hat |= SDL_HAT_RIGHT;
  SDL_JoystickSetVirtualHat(virtualPad, 0, hat);
}

void DetachVirtualGamepad() {
  if (virtualPad == nullptr) return;
  const SDL_JoystickID id = SDL_JoystickInstanceID(virtualPad);
  SDL_JoystickClose(virtualPad);
  virtualPad = nullptr;
  for (int i = 0; i < SDL_NumJoysticks(); ++i) {
    if (SDL_JoystickGetDeviceInstanceID(i) == id) {
      SDL_JoystickDetachVirtual(i);
      break;
    }
  }
}

}  // namespace skyrift::platform
