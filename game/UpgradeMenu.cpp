// The upgrade menu: the highlight moves through four entries and fire buys the highlighted one
// for points. Both players' menus share the highlight and the repeat counter.
#include "game/UpgradeMenu.h"

#include <iterator>

#include "engine/Sound.h"
#include "sprites/PlayerShip.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

constexpr int kRepeatFrames = 3;  // a held control acts every fourth frame

struct UpgradeEntry {
  void (PlayerShip::*apply)(int);
  int amount;
};

// In the order the menu lists them.
constexpr UpgradeEntry kUpgrades[] = {
    {&PlayerShip::UpgradeFirepower, 3},
    {&PlayerShip::UpgradeSpeed, 1},
    {&PlayerShip::UpgradeHull, 10},
    {&PlayerShip::UpgradeEnergy, 25},
};
constexpr int kEntryCount = static_cast<int>(std::size(kUpgrades));

void Buy(PlayerShip* ship) {
  if (ship == nullptr || ship->GetPoints() < _iUpgradeCost) return;
  if (_iUpgradeChoice < 0 || _iUpgradeChoice >= kEntryCount) return;
  PlaySample(kAnyFreeChannel, _sndUpgradeDing);
  const UpgradeEntry& entry = kUpgrades[_iUpgradeChoice];
  (ship->*entry.apply)(entry.amount);
  ship->AddPoints(-_iUpgradeCost);
}

}  // namespace

void StepUpgradeMenu(PlayerShip* ship, bool up, bool down, bool fire) {
  if (up && ++_iMenuDelay > kRepeatFrames) {
    _iUpgradeChoice = _iUpgradeChoice == 0 ? kEntryCount - 1 : _iUpgradeChoice - 1;
    _iMenuDelay = 0;
  }
  if (down && ++_iMenuDelay > kRepeatFrames) {
    _iUpgradeChoice = _iUpgradeChoice == kEntryCount - 1 ? 0 : _iUpgradeChoice + 1;
    _iMenuDelay = 0;
  }
  if (fire && ++_iMenuDelay > kRepeatFrames) {
    // Too few points buys nothing, but the press is used up all the same.
    Buy(ship);
    _iMenuDelay = 0;
  }
}

}  // namespace skyrift
