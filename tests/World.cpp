#include "World.h"

#include <algorithm>

#include "Keys.h"
#include "game/Lifecycle.h"
#include "game/PicturesAndSounds.h"
#include "game/Players.h"
#include "game/Presenting.h"
#include "game/Samples.h"
#include "graphics/Background.h"
#include "platform/Gamepad.h"
#include "platform/Random.h"
#include "platform/Resources.h"
#include "sprites/Tags.h"
#include "world/Images.h"

namespace skyrift::testing {

std::vector<Sprite*> Tagged(const std::string& tag) {
  std::vector<Sprite*> found;
  for (Sprite* sprite : _pEngine->GetSprites()) {
    if (sprite->Tag() == tag) found.push_back(sprite);
  }
  return found;
}

int Requests(const Sample* sample) {
  const auto& requests = PlayRequests();
  return static_cast<int>(std::count_if(requests.begin(), requests.end(),
                                        [&](const PlayRequest& r) { return r.sample == sample; }));
}

int Requests(const Sample* sample, int channel) {
  const auto& requests = PlayRequests();
  return static_cast<int>(std::count_if(
      requests.begin(), requests.end(),
      [&](const PlayRequest& r) { return r.sample == sample && r.channel == channel; }));
}

namespace {

// The colours the tests tell pictures apart by; the banners keep a short band, so that the world
// shows beneath, and the near layers are all key, so that the far layer shows through.
struct Look {
  Bitmap** image;
  COLORREF colour;
  int rows = 0;  // 0 for the picture's full height
};
const Look kLooks[] = {
    {&_bmpStage1Far, kFarColour},
    {&_bmpStage1Near, kMagenta},
    {&_bmpStage2Far, RGB(5, 5, 40)},
    {&_bmpStage2Near, kMagenta},
    {&_bmpPlayer1, kShipColour},
    {&_bmpPlayer2, kShipColour},
    {&_bmpPlayer1Recharge, RGB(0, 0, 250)},
    {&_bmpPlayer2Recharge, RGB(0, 0, 250)},
    {&_bmpHudPanel, kPanelColour},
    {&_bmpStageClear, kBannerColour, 100},
    {&_bmpGameOver, kBannerColour, 100},
    {&_bmpUpgradeMenu1, kMenuColour},
    {&_bmpUpgradeMenu2, kMenuColour},
    {&_bmpInterlude, kPageColour},
    {&_bmpTitle, RGB(30, 30, 60)},
    {&_bmpPressEnter, RGB(250, 250, 250)},
    {&_bmpHowManyPlayers, RGB(250, 250, 0)},
};

const Look* LookOf(Bitmap** image) {
  for (const Look& look : kLooks) {
    if (look.image == image) return &look;
  }
  return nullptr;
}

// A colour of the picture's own, told apart from the others' and never the magenta key.
COLORREF OwnColour(uint16_t id) {
  return RGB(id % 251, (id / 7) % 241, 128 + id % 97);
}

}  // namespace

void World::SetUp() {
  _pEngine = MakeGameEngine(platform::ProgramModule());
  MakeOffscreenFrame();
  ResetPlay();

  // Every picture of the game's list, so that whatever the play code draws exists.
  for (const ImageResource& row : kImageResources) {
    const Look* look = LookOf(row.image);
    Keep(*row.image, look != nullptr ? look->colour : OwnColour(row.id),
         look != nullptr ? look->rows : 0);
  }
  _pFarBackground = new ScrollingLayer(_bmpStage1Far, 900, 600, ViewUp, 1, FALSE, 0);
  _pNearBackground = nullptr;

  // The samples as the game loads them, names and modes, from the built game folder.
  ASSERT_TRUE(StartSoundLibrary(44100, 32));
  std::filesystem::current_path(SKYRIFT_GAME_DIR);
  LoadSounds();
  std::filesystem::current_path(folder_.Path());
  for (const SampleRow& row : kSamples) {
    ASSERT_NE(*row.sample, nullptr) << row.file
                                    << ": the shipped samples are needed to tell the "
                                       "sounds apart";
  }
  ClearPlayRequests();
}

void World::TearDown() {
  platform::DetachVirtualGamepad();
  // Engines made but never handed to the list are the game's to free.
  for (Sprite* engine : {_pBossLeftEngine, _pBossRightEngine}) {
    const auto& listed = _pEngine->GetSprites();
    if (std::find(listed.begin(), listed.end(), engine) == listed.end()) delete engine;
  }
  _pEngine->DeleteAllSprites();
  delete _pEngine;
  _pEngine = nullptr;
  delete _pFarBackground;
  delete _pNearBackground;
  _pFarBackground = _pNearBackground = nullptr;
  FreeSounds();
  CloseSoundLibrary();
  ResetPlay();  // forgets the sprites and the stream the list and the sound library freed
  for (Bitmap** global : globals_) *global = nullptr;
  FreeOffscreenFrame();
  delete _hStageClearedFrame;
  _hStageClearedFrame = nullptr;
}

void World::ResetPlay() {
  platform::ResetKeyboard();
  ResetPlayGlobals();
  ResetNewGameGlobals();
  _iKeyP1Up = kP1Up, _iKeyP1Down = kP1Down, _iKeyP1Left = kP1Left, _iKeyP1Right = kP1Right;
  _iKeyP1Fire = kP1Fire, _iKeyP1Bomb = kP1Bomb, _iKeyP1BulletTime = kP1BulletTime,
  _iKeyP1Recharge = kP1Recharge, _iKeyP1Menu = kP1Menu;
  _iKeyP2Up = kP2Up, _iKeyP2Down = kP2Down, _iKeyP2Left = kP2Left, _iKeyP2Right = kP2Right;
  _iKeyP2Fire = kP2Fire, _iKeyP2Bomb = kP2Bomb, _iKeyP2BulletTime = kP2BulletTime,
  _iKeyP2Recharge = kP2Recharge, _iKeyP2Menu = kP2Menu;
}

void World::StartGame(bool twoPlayers) {
  _iNumPlayers = twoPlayers ? 2 : 1;
  _iGameState = GameStateStage1;
  CreatePlayers(twoPlayers ? TRUE : FALSE);
}

Bitmap* World::Image(int width, int height, COLORREF colour) {
  images_.push_back(std::make_unique<Bitmap>(_hOffscreenDC, width, height, colour));
  return images_.back().get();
}

void World::Keep(Bitmap*& global, COLORREF colour, int rows) {
  const ImageResource* row = ImageResourceOf(&global);
  ASSERT_NE(row, nullptr) << "not one of the game's pictures";
  global = Image(row->width, rows > 0 ? rows : row->height, colour);
  globals_.push_back(&global);
}

Sprite* World::AddSprite(const char* tag, int x, int y, int width, int height, COLORREF colour) {
  return Put(Image(width, height, colour), tag, x, y);
}

Sprite* World::Put(Bitmap* image, const char* tag, int x, int y, EdgeAction edge) {
  auto* sprite = new Sprite(image, PlayArea(), edge);
  sprite->SetTag(tag);
  sprite->SetPosition(x, y);
  _pEngine->InsertSprite(sprite);
  return sprite;
}

std::vector<Sprite*> World::Showing(const Bitmap* image) {
  std::vector<Sprite*> found;
  for (Sprite* sprite : _pEngine->GetSprites()) {
    if (sprite->GetBitmap() == image) found.push_back(sprite);
  }
  return found;
}

void World::Players(const POINT* one, const POINT* two) {
  const auto standIn = [this](Bitmap* image, const char* tag, POINT at) {
    standIns_.push_back(std::make_unique<PlayerShip>(image, PlayArea(), EdgeStop));
    PlayerShip* ship = standIns_.back().get();
    ship->SetFrameCount(4, FALSE);
    ship->SetTag(tag);
    ship->SetPosition(at);
    return ship;
  };
  _bPlayer1Out = (one == nullptr);
  _bPlayer2Out = (two == nullptr);
  _pPlayer1 = one != nullptr ? standIn(_bmpPlayer1, TagPlayer1, *one) : nullptr;
  _pPlayer2 = two != nullptr ? standIn(_bmpPlayer2, TagPlayer2, *two) : nullptr;
}

unsigned World::SeedWhere(int count, const std::function<bool(const std::vector<int>&)>& wanted) {
  std::vector<int> draws(static_cast<size_t>(count));
  for (unsigned seed = 1; seed < 1000000; ++seed) {
    platform::SeedRandom(seed);
    for (int& draw : draws) draw = platform::Random();
    if (wanted(draws)) return seed;
  }
  ADD_FAILURE() << "no seed gives the wanted draws";
  return 1;
}

std::vector<int> World::DrawsAfter(unsigned seed, int count) {
  platform::SeedRandom(seed);
  std::vector<int> draws(static_cast<size_t>(count));
  for (int& draw : draws) draw = platform::Random();
  platform::SeedRandom(seed);
  return draws;
}

void PadWorld::SetUp() {
  World::SetUp();
  StartGame(false);
  _bGameStarted = TRUE;
  _pPlayer1->SetBombs(0);
}

void PadWorld::AddPlayer2() {
  _iNumPlayers = 2;
  _bPlayer2Out = FALSE;
  _pPlayer2 = new PlayerShip(_bmpPlayer2, PlayArea(), EdgeStop);
  _pPlayer2->SetFrameCount(4);
  _pPlayer2->SetTag(TagPlayer2);
  _pEngine->InsertSprite(_pPlayer2);
}

}  // namespace skyrift::testing
