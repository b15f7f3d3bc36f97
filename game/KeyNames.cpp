#include "game/KeyNames.h"

#include "resources/ShippedControls.h"

namespace skyrift {
namespace {

struct Named {
  int code;
  const char* name;
};

// Every code with a name of its own; letters, digits, the keypad's digits and the function
// keys are counted out below.
constexpr Named kNames[] = {
    {0x01, "MOUSE L"}, {0x02, "MOUSE R"}, {0x03, "BREAK"},  {0x04, "MOUSE M"}, {0x05, "MOUSE 4"},
    {0x06, "MOUSE 5"}, {0x08, "BKSP"},    {0x09, "TAB"},    {0x0C, "CLEAR"},   {0x0D, "ENTER"},
    {0x10, "SHIFT"},   {0x11, "CTRL"},    {0x12, "ALT"},    {0x13, "PAUSE"},   {0x14, "CAPS"},
    {0x1B, "ESC"},     {0x20, "SPACE"},   {0x21, "PG UP"},  {0x22, "PG DN"},   {0x23, "END"},
    {0x24, "HOME"},    {0x25, "LEFT"},    {0x26, "UP"},     {0x27, "RIGHT"},   {0x28, "DOWN"},
    {0x2C, "PRT SC"},  {0x2D, "INS"},     {0x2E, "DEL"},    {0x5B, "L WIN"},   {0x5C, "R WIN"},
    {0x5D, "MENU"},    {0x6A, "NUM *"},   {0x6B, "NUM +"},  {0x6C, "NUM ,"},   {0x6D, "NUM -"},
    {0x6E, "NUM ."},   {0x6F, "NUM /"},   {0x90, "NUM LK"}, {0x91, "SCR LK"},  {0xA0, "L SHIFT"},
    {0xA1, "R SHIFT"}, {0xA2, "L CTRL"},  {0xA3, "R CTRL"}, {0xA4, "L ALT"},   {0xA5, "R ALT"},
    {0xBA, ";"},       {0xBB, "="},       {0xBC, ","},      {0xBD, "-"},       {0xBE, "."},
    {0xBF, "/"},       {0xC0, "`"},       {0xDB, "["},      {0xDC, "\\"},      {0xDD, "]"},
    {0xDE, "'"},
};

}  // namespace

std::string KeyName(int code) {
  if (code == 0) return "NONE";
  if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z'))
    return std::string(1, static_cast<char>(code));
  if (code >= 0x60 && code <= 0x69) return "NUM " + std::to_string(code - 0x60);
  if (code >= 0x70 && code <= 0x87) return "F" + std::to_string(code - 0x70 + 1);
  for (const Named& named : kNames) {
    if (named.code == code) return named.name;
  }
  return "KEY " + std::to_string(code);
}

std::string MovementKeysName(int up, int down, int left, int right) {
  if (up == 0x26 && down == 0x28 && left == 0x25 && right == 0x27) return "ARROWS";
  return KeyName(up) + " " + KeyName(left) + " " + KeyName(down) + " " + KeyName(right);
}

PlayerKeys ShippedKeys(int player) {
  const int* k = kShippedControls + (player == 1 ? 0 : 9);
  return {k[0], k[1], k[2], k[3], k[4], k[5], k[6], k[7], k[8]};
}

std::array<std::string, keyplaces::kColumns> LegendNames(const PlayerKeys& keys) {
  return {MovementKeysName(keys.up, keys.down, keys.left, keys.right),
          KeyName(keys.fire),
          KeyName(keys.bomb),
          KeyName(keys.bulletTime),
          KeyName(keys.recharge),
          KeyName(keys.menu)};
}

std::string MenuKeysLine(const PlayerKeys& keys) {
  return KeyName(keys.up) + " / " + KeyName(keys.down) + ": CHOOSE     " + KeyName(keys.fire) +
         ": BUY     " + KeyName(keys.menu) + ": LEAVE";
}

}  // namespace skyrift
