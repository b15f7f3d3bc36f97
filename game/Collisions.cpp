// The collision rules: what happens when two sprites touch, decided by their tags. Shots damage
// and destroy enemies, the boss's engines and the boss; enemy ships and enemy shots cost the
// players hull and lives; players collect power-ups. Every rule holds in both orders.
#include <optional>
#include <string_view>

#include "engine/GameCallbacks.h"
#include "engine/Sound.h"
#include "game/EnemyWaves.h"
#include "game/PlayerActions.h"
#include "game/Players.h"
#include "game/PowerUps.h"
#include "game/Weapons.h"
#include "platform/Random.h"
#include "sprites/BossShip.h"
#include "sprites/Explosion.h"
#include "sprites/PlayerShip.h"
#include "sprites/Tags.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

enum class Kind {
  Ship,  // a player's tag: the ship itself, or the bomb flash, which wears player 1's
  Shot,  // a player's bullet
  Enemy,
  EnemyShot,
  LeftEngine,
  RightEngine,
  Boss,
  PowerUp,
  RepairPowerUp,
  BombPowerUp,
  FocusPowerUp,
};

struct TagKind {
  std::string_view tag;
  Kind kind;
  int player;  // 1 or 2 for the players' tags, else 0
};

// Explosions and warning signs have no rule, so no kind.
constexpr TagKind kTags[] = {
    {TagPlayer1, Kind::Ship, 1},
    {TagPlayer2, Kind::Ship, 2},
    {TagBulletP1, Kind::Shot, 1},
    {TagBulletP2, Kind::Shot, 2},
    {TagEnemyShip, Kind::Enemy, 0},
    {TagEnemyBullet, Kind::EnemyShot, 0},
    {TagBossLeftEngine, Kind::LeftEngine, 0},
    {TagBossRightEngine, Kind::RightEngine, 0},
    {TagBoss, Kind::Boss, 0},
    {TagPowerUp, Kind::PowerUp, 0},
    {TagRepairPowerUp, Kind::RepairPowerUp, 0},
    {TagBombPowerUp, Kind::BombPowerUp, 0},
    {TagFocusPowerUp, Kind::FocusPowerUp, 0},
};

struct Party {
  Sprite* sprite;
  Kind kind;
  int player;
};

std::optional<Party> Classify(Sprite* sprite) {
  for (const TagKind& entry : kTags) {
    if (sprite->Tag() == entry.tag) return Party{sprite, entry.kind, entry.player};
  }
  return std::nullopt;
}

// --- The players' accounts -----------------------------------------------------------------

PlayerShip* ShipOf(int player) {
  return player == 1 ? _pPlayer1 : _pPlayer2;
}

bool InPlay(int player) {
  const BOOL out = player == 1 ? _bPlayer1Out : _bPlayer2Out;
  return !out && ShipOf(player) != nullptr;
}

// A ship pointer is cleared when the list deletes the ship, so shots still in flight then hit
// with the firepower it last had.
int Firepower(int player) {
  if (const PlayerShip* ship = ShipOf(player)) return ship->GetFirepower();
  return player == 1 ? _iLastFirepower1 : _iLastFirepower2;
}

// Points only go to a player still in play: a shot that lands after its ship is gone earns
// nothing.
void Credit(int player, int points) {
  if (InPlay(player)) ShipOf(player)->AddPoints(points);
}

// The ship itself when the sprite is one of the players' ships; null for the bomb flash,
// which carries player 1's tag but has no hull, lives or stats.
PlayerShip* AsShip(const Sprite* sprite) {
  if (sprite == nullptr) return nullptr;
  if (sprite == _pPlayer1) return _pPlayer1;
  if (sprite == _pPlayer2) return _pPlayer2;
  return nullptr;
}

BOOL& OutFlagOf(const PlayerShip* ship) {
  return ship == _pPlayer1 ? _bPlayer1Out : _bPlayer2Out;
}

// A lost life clears the ship's own bullet-time flag. When that leaves no ship to pay, bullet
// time ends rather than run on unpaid; while one still pays (the other player, or a lone
// player's ship) it goes on. With both players out the game-over frame ends it.
void SpendLife(PlayerShip* ship) {
  OutFlagOf(ship) = ship->LoseLife() ? TRUE : FALSE;
  const bool bothOut = _bPlayer1Out && _bPlayer2Out;
  if (_bBulletTime && !bothOut && BulletTimePayer() == nullptr) EndBulletTime(ship);
}

// --- The sound of every destruction --------------------------------------------------------

void Boom() {
  PlaySample(kAnyFreeChannel, _sndExplosion);
}

// --- The rules -----------------------------------------------------------------------------
// Each takes its two parties in the order its row names them and returns false, changing
// nothing, when its condition does not hold.

// Points for a destroyed enemy, from the row of its kind, told apart by its picture.
int BountyFor(const Sprite* enemy) {
  const EnemyKind* kind = EnemyKindOf(enemy->GetBitmap());
  return kind != nullptr ? kind->points : 0;
}

// The rules do not look at the dying flag: a second shot on an enemy destroyed earlier in the
// same frame finds its health spent again and counts as another kill.
bool ShotHitsEnemy(const Party& shot, const Party& enemy) {
  if (!enemy.sprite->TakeDamage(Firepower(shot.player))) {
    shot.sprite->Kill();
    return true;
  }
  const RECT wreck = enemy.sprite->GetPosition();
  if (platform::Random() % 10 == 0) DropPowerUp(PlayArea(), wreck);
  enemy.sprite->Kill();
  shot.sprite->Kill();
  Boom();
  AddExplosion(wreck.left, wreck.top);
  if (const int points = BountyFor(enemy.sprite); points > 0) Credit(shot.player, points);
  return true;
}

// A ship with lives left shows two explosions: the one LoseLife leaves at the old place and
// this one.
bool EnemyRamsShip(const Party& player, const Party& enemy) {
  PlayerShip* ship = AsShip(player.sprite);
  if (ship == nullptr) return false;
  const RECT wreck = ship->GetPosition();  // before LoseLife moves it to the respawn point
  SpendLife(ship);
  enemy.sprite->Kill();
  Boom();
  AddExplosion(wreck.left, wreck.top);
  return true;
}

bool EnemyShotHitsShip(const Party& player, const Party& bullet) {
  PlayerShip* ship = AsShip(player.sprite);
  if (ship == nullptr) return false;
  if (!ship->TakeDamage(10)) {
    bullet.sprite->Kill();
    return true;
  }
  const RECT wreck = ship->GetPosition();
  SpendLife(ship);
  bullet.sprite->Kill();
  Boom();
  AddExplosion(wreck.left, wreck.top);
  return true;
}

// An engine's destruction tells the body, which stops that engine's beams and, with both
// gone, turns to its last phase.
template <void (BossShip::*TellBody)(int)>
bool ShotHitsEngine(const Party& shot, const Party& engine) {
  if (!engine.sprite->TakeDamage(Firepower(shot.player))) {
    shot.sprite->Kill();
    return true;
  }
  shot.sprite->Kill();
  engine.sprite->Kill();
  Boom();
  if (_pBoss != nullptr) (_pBoss->*TellBody)(TRUE);
  SpawnExplosionBurst(engine.sprite, 20);
  Credit(shot.player, 1000);
  return true;
}

// While an engine stands, shots fly on over the body.
bool ShotHitsBoss(const Party& shot, const Party& boss) {
  if (_pBoss == nullptr || _pBoss->GetPhase() != 2) return false;
  if (!boss.sprite->TakeDamage(Firepower(shot.player))) {
    shot.sprite->Kill();
    return true;
  }
  shot.sprite->Kill();
  boss.sprite->Kill();
  Boom();
  SpawnExplosionBurst(boss.sprite, 75);
  // Every player still in the game shares the victory, whoever fired.
  if (InPlay(2)) _pPlayer2->AddPoints(10000);
  if (InPlay(1)) _pPlayer1->AddPoints(10000);
  _bBossDefeated = TRUE;
  return true;
}

void RaisePowerLevel(PlayerShip& ship) {
  ship.PowerUp();
}
void Repair(PlayerShip& ship) {
  ship.Heal(10);
}
void GiveBomb(PlayerShip& ship) {
  ship.AddBombs(1);
}
void GiveEnergy(PlayerShip& ship) {
  ship.AddEnergy(50);
}

// A ship collects for itself; the bomb flash collects for the player whose tag it wears, and
// only while that player is in play.
template <void (*Gain)(PlayerShip&)>
bool Collect(const Party& player, const Party& powerUp) {
  PlayerShip* ship = AsShip(player.sprite);
  if (ship == nullptr && InPlay(player.player)) ship = ShipOf(player.player);
  if (ship == nullptr) return false;
  powerUp.sprite->Kill();
  Gain(*ship);
  return true;
}

using Effect = bool (*)(const Party&, const Party&);

struct Rule {
  Kind first;
  Kind second;
  Effect effect;
};

// Every pair not named here (ships against the boss body or its engines, shots against shots,
// enemies against enemies, players against each other or any bullet of a player) does nothing.
constexpr Rule kRules[] = {
    {Kind::Shot, Kind::Enemy, ShotHitsEnemy},
    {Kind::Ship, Kind::Enemy, EnemyRamsShip},
    {Kind::Ship, Kind::EnemyShot, EnemyShotHitsShip},
    {Kind::Shot, Kind::LeftEngine, ShotHitsEngine<&BossShip::SetLeftEngineDown>},
    {Kind::Shot, Kind::RightEngine, ShotHitsEngine<&BossShip::SetRightEngineDown>},
    {Kind::Shot, Kind::Boss, ShotHitsBoss},
    {Kind::Ship, Kind::PowerUp, Collect<RaisePowerLevel>},
    {Kind::Ship, Kind::RepairPowerUp, Collect<Repair>},
    {Kind::Ship, Kind::BombPowerUp, Collect<GiveBomb>},
    {Kind::Ship, Kind::FocusPowerUp, Collect<GiveEnergy>},
};

}  // namespace

// TRUE whenever a rule took effect, so the engine puts the sprite that moved back: a ship that
// flies into an enemy or a shot ends the frame where it started, not at its respawn point.
BOOL SpritesCollided(Sprite* found, Sprite* moved) {
  if (_bGameOver || found == nullptr || moved == nullptr) return FALSE;
  const std::optional<Party> a = Classify(found);
  const std::optional<Party> b = Classify(moved);
  if (!a || !b) return FALSE;
  for (const Rule& rule : kRules) {
    if (rule.first == a->kind && rule.second == b->kind) return rule.effect(*a, *b) ? TRUE : FALSE;
    if (rule.first == b->kind && rule.second == a->kind) return rule.effect(*b, *a) ? TRUE : FALSE;
  }
  return FALSE;
}

}  // namespace skyrift
