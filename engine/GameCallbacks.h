// The free functions the game provides and the engine calls; the engine holds no game rules.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Resources.h"
#include "platform/Surface.h"
#include "platform/Types.h"
#include "platform/Window.h"

namespace skyrift {

class Sprite;

// Joystick position and buttons as one set of flags (see engine/Joystick.h).
using StickState = uint16_t;

// Where the game writes its log (empty: none is kept), reads its controls and, when those bind
// nothing, the default controls, and keeps the player's settings (empty: not kept), as UTF-8
// paths; told by the program entry before GameInitialize. Unless told: the log and the controls
// in the working folder, no settings.
void GamePlaceFiles(const std::string& logFile, const std::string& controlsFile,
                    const std::string& defaultControls, const std::string& settingsFile);
// Whether any of the game's own files (its default controls, its samples) is in `folder`; none
// is when the program was copied out of its folder alone.
BOOL GameFilesPresent(const std::string& folder);
BOOL GameInitialize(HINSTANCE instance);
void GameStart(HWND window);
void GameEnd();
void GameActivate(HWND window);
void GameDeactive(HWND window);
void GameDraw(HDC dc);
void PollKeys();
void GameJoystick(StickState state);
void GameFrame();
void MouseDown(int x, int y, BOOL left);
void MouseUp(int x, int y, BOOL left);
void MouseMoved(int x, int y);
// The first sprite in the list that the moved sprite overlaps, then the moved sprite;
// TRUE puts the moved sprite back where it was before this update.
BOOL SpritesCollided(Sprite* found, Sprite* moved);
void SpriteRemoved(Sprite* sprite);
// TRUE keeps the sprite in play when the list is cleared for a bomb or the start of a stage.
BOOL SpriteProtected(const Sprite* sprite);

}  // namespace skyrift
