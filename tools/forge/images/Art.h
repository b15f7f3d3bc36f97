// The painters: one function per picture of the game, each returning a canvas of the
// picture's full size (all animation frames side by side), plus shared drawing helpers.
#pragma once

#include <functional>
#include <vector>

#include "images/Canvas.h"

namespace skyrift::forge {

// Lays out frames side by side; columns past the last frame stay empty.
Canvas Strip(int width, int height, int frames, int frameWidth,
             const std::function<void(Canvas&, int)>& paint);

// A shaded metal hull: a dark rim, then a fill lit from the upper left with a bevel
// that brightens toward the middle of the shape.
void Hull(Canvas& c, const std::vector<Vec>& poly, Rgba base, float rim = 1.0f, float light = 1.0f);
// The polygon mirrored about x = axis (points in reverse order so the winding is kept).
std::vector<Vec> MirrorPoly(const std::vector<Vec>& poly, float axis);
// A glass canopy: dark rim, deep gradient and a specular streak.
void Canopy(Canvas& c, Vec centre, float rx, float ry, Rgba tint);
// An engine flame pointing down (dir = 1) or up (dir = -1) from (x, y).
void Flame(Canvas& c, Vec at, float width, float length, Rgba outer, Rgba inner, int dir = 1);
// Jagged electric arc from a to b.
void Arc(Canvas& c, Vec a, Vec b, Rng& rng, Rgba colour, float jitter, int segments);

// Backgrounds.
Canvas PaintStage1Far();
Canvas PaintStage1Near();
Canvas PaintStage2Far();
Canvas PaintStage2Near();

// Ships.
Canvas PaintPlayer(int player, bool recharge);
// A player's fighter at any scale, its 50 x 64 frame's top-left corner at origin.
void DrawFighter(Canvas& c, int player, int frame, Vec origin, float scale);
Canvas PaintSwoopEnemy();
Canvas PaintHoverEnemy();
Canvas PaintConvoyEnemy();
Canvas PaintSpareEnemy();
Canvas PaintGunshipEnemy();

// The stage-1 boss.
Canvas PaintBoss();
Canvas PaintBossEngine(bool right);
Canvas PaintBossBeam();

// Shots.
Canvas PaintBulletCentre();
Canvas PaintBulletSide(bool right);
Canvas PaintEnemyBullet();
Canvas PaintEnemyBulletLarge();
Canvas PaintCurtainBullet();
Canvas PaintSweepBullet();

// Effects and pick-ups.
Canvas PaintExplosion();
Canvas PaintPowerUp(int kind);  // 0 power, 1 repair, 2 bomb, 3 focus
Canvas PaintBombFlash();
Canvas PaintSpareFlash();

// Screens.
Canvas PaintHudPanel();
Canvas PaintGameOver();
// The screens whose keys the game letters from the bindings leave their places blank, or letter
// the shipped keys there with `shippedKeys`.
Canvas PaintUpgradeMenu(int player, bool shippedKeys);
Canvas PaintTitle(bool shippedKeys);
Canvas PaintPressEnter();
Canvas PaintHowManyPlayers();
Canvas PaintPaused();
Canvas PaintInstructions();
Canvas PaintStageClear();
Canvas PaintWarning(int which);
Canvas PaintInterlude();

// The game's icon at a size (16 to 256).
Canvas PaintIcon(int size);

}  // namespace skyrift::forge
