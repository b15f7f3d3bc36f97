// The engine's list of live sprites: insertion by layer, the update pass with spawning,
// removal and the first-overlap collision test, drawing, and the two bulk removals; and
// AddToPlay, the verb by which a sprite puts another in play.
#include <algorithm>

#include "engine/Engine.h"
#include "sprites/Play.h"
#include "sprites/Sprite.h"

namespace skyrift {

void AddToPlay(Sprite* sprite) {
  if (Engine::Current == nullptr) {
    delete sprite;
    return;
  }
  Engine::Current->InsertSprite(sprite);
}

void Engine::InsertSprite(Sprite* sprite) {
  if (sprite == nullptr) return;
  const auto before = std::find_if(sprites.begin(), sprites.end(), [sprite](const Sprite* other) {
    return other->GetZOrder() > sprite->GetZOrder();
  });
  sprites.insert(before, sprite);
}

void Engine::DrawAllSprites(HDC dc) {
  for (const Sprite* sprite : sprites) sprite->Draw(dc);
}

void Engine::UpdateAllSprites() {
  // Walked by index with the end read afresh: sprites inserted during the pass (spawns,
  // explosions, power-ups) are updated in the same pass, and growth keeps the place valid.
  // An insertion in front of the current place (a lower layer) moves it, so it is found again.
  const auto placeOf = [this](const Sprite* sprite) {
    return static_cast<size_t>(std::find(sprites.begin(), sprites.end(), sprite) - sprites.begin());
  };
  for (size_t i = 0; i < sprites.size();) {
    Sprite* sprite = sprites[i];
    const RECT before = sprite->GetPosition();
    const UpdateResult result = sprite->Update();
    if (result & UpdateSpawn) {
      InsertSprite(sprite->SpawnSprite());
      i = placeOf(sprite);
    }
    if (result & UpdateKill) {
      SpriteRemoved(sprite);
      sprites.erase(sprites.begin() + static_cast<std::ptrdiff_t>(i));
      delete sprite;
      continue;
    }
    const size_t count = sprites.size();
    if (FindCollision(sprite)) sprite->SetPosition(before);
    if (sprites.size() != count) i = placeOf(sprite);
    ++i;
  }
}

BOOL Engine::FindCollision(Sprite* moved) {
  // A collision rule may insert sprites (explosions, drops), so walk by index.
  for (size_t i = 0; i < sprites.size(); ++i) {
    Sprite* other = sprites[i];
    if (other != moved && moved->Overlaps(other)) return SpritesCollided(other, moved);
  }
  return FALSE;
}

void Engine::DeleteAllSprites() {
  for (Sprite* sprite : sprites) delete sprite;
  sprites.clear();
}

void Engine::RemoveUnprotectedSprites() {
  std::erase_if(sprites, [](Sprite* sprite) {
    if (SpriteProtected(sprite)) return false;
    delete sprite;
    return true;
  });
}

Sprite* Engine::SpriteAtPoint(int x, int y) {
  for (Sprite* sprite : sprites) {
    if (!sprite->IsHidden() && sprite->ContainsPoint(x, y)) return sprite;
  }
  return nullptr;
}

}  // namespace skyrift
