// Every tag a sprite can carry: the collision rules, the bomb's clean-up and the bullet-time
// slowdown tell the kinds of sprite apart by these names alone. Explosions carry none.
#pragma once

namespace skyrift {

// The players' ships; the bomb flash wears player 1's tag.
inline constexpr char TagPlayer1[] = "player1";
inline constexpr char TagPlayer2[] = "player2";
// The players' shots.
inline constexpr char TagBulletP1[] = "bullet_p1";
inline constexpr char TagBulletP2[] = "bullet_p2";

inline constexpr char TagEnemyShip[] = "enemy_ship";
// Every enemy shot, the boss's included.
inline constexpr char TagEnemyBullet[] = "enemy_bullet";

inline constexpr char TagBoss[] = "lvl1_boss";
inline constexpr char TagBossLeftEngine[] = "lvl1_boss_left_engine";
inline constexpr char TagBossRightEngine[] = "lvl1_boss_right_engine";

inline constexpr char TagPowerUp[] = "powerup";
inline constexpr char TagRepairPowerUp[] = "repair_powerup";
inline constexpr char TagBombPowerUp[] = "bomb_powerup";
inline constexpr char TagFocusPowerUp[] = "focus_powerup";

// Both warning banners.
inline constexpr char TagWarning[] = "gui_warning";

}  // namespace skyrift
