// The Windows virtual-key codes a test presses: the title's keys and the bindings of the shipped
// controls.txt, in the file's order; and the eighteen key globals in that order.
#pragma once

#include <array>

#include "world/Globals.h"

namespace skyrift::testing {

constexpr int kEnter = 13, kOne = '1', kTwo = '2';

constexpr int kP1Up = 38, kP1Down = 40, kP1Left = 37, kP1Right = 39, kP1Fire = 32, kP1Bomb = 90,
              kP1BulletTime = 88, kP1Recharge = 67, kP1Menu = 9;
constexpr int kP2Up = 87, kP2Down = 83, kP2Left = 65, kP2Right = 68, kP2Fire = 70, kP2Bomb = 71,
              kP2BulletTime = 84, kP2Recharge = 82, kP2Menu = 81;

inline const std::array<int*, 18> kKeyGlobals = {
    &_iKeyP1Up,         &_iKeyP1Down,       &_iKeyP1Left,     &_iKeyP1Right, &_iKeyP1Fire,
    &_iKeyP1Bomb,       &_iKeyP1BulletTime, &_iKeyP1Recharge, &_iKeyP1Menu,  &_iKeyP2Up,
    &_iKeyP2Down,       &_iKeyP2Left,       &_iKeyP2Right,    &_iKeyP2Fire,  &_iKeyP2Bomb,
    &_iKeyP2BulletTime, &_iKeyP2Recharge,   &_iKeyP2Menu,
};

}  // namespace skyrift::testing
