// The body of the stage boss: glides in from above, stops at the top of the play area and
// attacks with engine beams, fans and curtains; with both engines destroyed it turns to its
// harder second phase, which adds sweeping twin streams.
#pragma once

#include "sprites/Sprite.h"

namespace skyrift {

class BossShip : public Sprite {
 public:
  BossShip(Bitmap* image, const RECT& bounds, EdgeAction edgeAction);
  ~BossShip() override;

  UpdateResult Update() override;
  // Fires by adding bullets itself; always null.
  Sprite* SpawnSprite() override;

  // Told by the collision rules when an engine sprite is destroyed.
  void SetLeftEngineDown(int flag);
  void SetRightEngineDown(int flag);
  // 0 entering, 1 fighting, 2 fighting without engines.
  int GetPhase() const { return phase; }

  // The attack patterns; each adds its bullets to the sprite list.
  void EngineBeams();
  void FanBurst();
  void CurtainBurst();
  void SweepPair();

 private:
  int leftEngineDown = 0;
  int rightEngineDown = 0;
  int enginesDown = 0;     // both engines are gone
  int rightBeamArmed = 0;  // the engine takes part in the current beam volley
  int leftBeamArmed = 0;
  int sweepActive = 0;
  int sweepStep = 0;  // frames into the sweep, 0 to 20
  int phase = 0;
  int beamTimer = 0;  // updates of beam fire left in the volley
  int beamTick = 0;   // updates since the last beam shot
};

}  // namespace skyrift
