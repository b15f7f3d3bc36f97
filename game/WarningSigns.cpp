// Stage 1's two warning banners with their spoken warnings, before the boss. Each sign is made
// once per run.
#include "game/WarningSigns.h"

#include "engine/Sound.h"
#include "game/StageTimetable.h"
#include "sprites/Play.h"
#include "sprites/Sprite.h"
#include "sprites/Tags.h"
#include "world/Globals.h"

namespace skyrift {
namespace {

struct WarningSign {
  Sprite*& sign;
  BOOL& shown;
  BOOL& made;
  Bitmap* image;
  Sample* sound;
  WarningWindow window;
};

constexpr int kWarningColourings = 4;  // the banner's colourings, cycling

void RunWarningSign(const WarningSign& warning) {
  const int t = _iStageTicker;
  if (t > warning.window.after && !warning.made) {
    auto* sign = new Sprite(warning.image, PlayArea(), EdgeDie);
    sign->SetTag(TagWarning);
    sign->SetFrameCount(kWarningColourings, FALSE);
    // Centred across the play area, its bottom 25 pixels above the play area's.
    sign->SetPosition(_iPlayWidth / 2 - sign->GetWidth() / 2,
                      _iPlayHeight - 25 - sign->GetHeight());
    AddToPlay(sign);
    warning.sign = sign;
    warning.shown = TRUE;
    warning.made = TRUE;
  }
  if (t == warning.window.after + 1) PlaySample(kAnyFreeChannel, warning.sound);
  if (t > warning.window.until && warning.shown) {
    if (warning.sign != nullptr) warning.sign->Kill();
    warning.shown = FALSE;
  }
}

}  // namespace

void RunWarningSigns() {
  RunWarningSign({_pWarning1, _bWarning1Shown, _bWarning1Made, _bmpWarning1, _sndLargeIncoming,
                  kFirstWarning});
  RunWarningSign({_pWarning2, _bWarning2Shown, _bWarning2Made, _bmpWarning2, _sndMassiveEnemy,
                  kSecondWarning});
}

}  // namespace skyrift
