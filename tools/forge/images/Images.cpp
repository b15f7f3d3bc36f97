// Placeholder until the picture forge lands: flat images of the right sizes and depths.
#include <cstdint>
#include <fstream>
#include <vector>

#include "Forge.h"

namespace skyrift::forge {
namespace {
struct Entry { const char* file; int width, height, bits; };
constexpr Entry kImages[] = {
    {"stage1_far.bmp", 900, 5000, 8}, {"stage1_near.bmp", 900, 7500, 8},
    {"stage2_far.bmp", 900, 3500, 8}, {"stage2_near.bmp", 5000, 600, 8},
    {"player1.bmp", 200, 64, 8}, {"player2.bmp", 200, 64, 8}, {"enemy_swoop.bmp", 50, 39, 8},
    {"enemy_hover.bmp", 64, 29, 8}, {"enemy_convoy.bmp", 50, 37, 4}, {"enemy_spare.bmp", 120, 120, 8},
    {"enemy_gunship.bmp", 80, 58, 8}, {"boss1.bmp", 650, 320, 8}, {"boss1_right_engine.bmp", 139, 82, 4},
    {"boss1_left_engine.bmp", 139, 82, 4}, {"boss_beam.bmp", 204, 30, 8}, {"bullet_center.bmp", 212, 26, 8},
    {"bullet_left.bmp", 142, 25, 8}, {"bullet_right.bmp", 142, 25, 8}, {"enemy_bullet.bmp", 70, 10, 4},
    {"enemy_bullet_large.bmp", 140, 20, 4}, {"boss_curtain_bullet.bmp", 50, 39, 8},
    {"boss_sweep_bullet.bmp", 140, 20, 4}, {"explosion.bmp", 900, 60, 8}, {"powerup.bmp", 30, 30, 8},
    {"powerup_repair.bmp", 30, 30, 8}, {"powerup_bomb.bmp", 30, 30, 8}, {"powerup_focus.bmp", 30, 30, 8},
    {"player1_recharge.bmp", 200, 64, 8}, {"player2_recharge.bmp", 200, 64, 8},
    {"bomb_flash.bmp", 3600, 600, 8}, {"spare_flash.bmp", 3600, 600, 4}, {"hud_panel.bmp", 900, 132, 8},
    {"game_over.bmp", 900, 600, 8}, {"upgrade_menu1.bmp", 900, 600, 8}, {"title.bmp", 900, 732, 8},
    {"press_enter.bmp", 300, 50, 8}, {"how_many_players.bmp", 600, 100, 8}, {"instructions.bmp", 900, 732, 8},
    {"upgrade_menu2.bmp", 900, 600, 8}, {"stage_clear.bmp", 900, 600, 8}, {"warning1.bmp", 2440, 110, 8},
    {"warning2.bmp", 2440, 110, 8}, {"interlude.bmp", 566, 732, 8},
};
void Put32(std::vector<uint8_t>& out, uint32_t v) { for (int i = 0; i < 4; ++i) out.push_back(v >> (8 * i)); }
void Put16(std::vector<uint8_t>& out, uint16_t v) { out.push_back(v & 0xFF); out.push_back(v >> 8); }
}  // namespace

int ForgeImages(const std::filesystem::path& outDir) {
  for (const Entry& e : kImages) {
    const int colours = 1 << e.bits;
    const uint32_t row = ((e.width * e.bits + 31) / 32) * 4, size = row * e.height;
    std::vector<uint8_t> out{'B', 'M'};
    Put32(out, 54 + colours * 4 + size); Put32(out, 0); Put32(out, 54 + colours * 4);
    Put32(out, 40); Put32(out, e.width); Put32(out, e.height); Put16(out, 1); Put16(out, e.bits);
    Put32(out, 0); Put32(out, size); Put32(out, 2835); Put32(out, 2835); Put32(out, colours); Put32(out, 0);
    for (int i = 0; i < colours; ++i) Put32(out, i == 0 ? 0x303030 : 0xFF00FF);
    out.resize(out.size() + size, 0);
    std::ofstream(outDir / e.file, std::ios::binary).write(reinterpret_cast<char*>(out.data()), out.size());
  }
  for (const char* icon : {"skyrift.ico", "skyrift_small.ico"}) std::ofstream(outDir / icon, std::ios::binary) << "";
  std::filesystem::copy_file("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", outDir / "skyrift_font.ttf",
                             std::filesystem::copy_options::overwrite_existing);
  return 0;
}
int WriteContactSheet(const std::filesystem::path&, const std::filesystem::path&) { return 1; }
}  // namespace skyrift::forge
