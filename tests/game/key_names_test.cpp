// Every key controls.txt can bind has a name short enough for the title's plates.
#include <gtest/gtest.h>

#include "game/KeyNames.h"

namespace skyrift {
namespace {

TEST(KeyNames, EveryCodeHasAShortNameAndTheCommonKeysTheirOwn) {
  for (int code = 0; code <= 255; ++code) {
    const std::string name = KeyName(code);
    EXPECT_FALSE(name.empty()) << code;
    EXPECT_LE(name.size(), 7u) << code << " " << name;  // seven capitals fill a plate
  }
  const std::pair<int, const char*> named[] = {
      {'A', "A"},      {'Z', "Z"},       {'0', "0"},     {'9', "9"},      {0x60, "NUM 0"},
      {0x69, "NUM 9"}, {0x70, "F1"},     {0x7B, "F12"},  {0x20, "SPACE"}, {0x09, "TAB"},
      {0x0D, "ENTER"}, {0x25, "LEFT"},   {0x28, "DOWN"}, {0xBD, "-"},     {0x6B, "NUM +"},
      {0, "NONE"},     {0xE9, "KEY 233"}};
  for (const auto& [code, name] : named) EXPECT_EQ(KeyName(code), name) << code;
  EXPECT_EQ(MovementKeysName(38, 40, 37, 39), "ARROWS");
  EXPECT_EQ(MovementKeysName('W', 'S', 'A', 'D'), "W A S D");
  EXPECT_EQ(MovementKeysName(38, 40, 37, 0), "UP LEFT DOWN NONE");
}

}  // namespace
}  // namespace skyrift
