// SDL's key events name keys by scancode; the key-state table wants Windows virtual-key codes.
#include <gtest/gtest.h>

#include "platform/sdl/ScanCodes.h"

namespace skyrift::platform {
namespace {

TEST(ScanCodes, ScancodesMapToWindowsVirtualKeys) {
  // Scancodes are the USB keyboard usage numbers.
  const struct {
    int scancode, virtualKey;
  } cases[] = {{4, 0x41}, {29, 0x5A}, {39, 0x30}, {38, 0x39}, {82, 38},    {80, 37},   {40, 13},
               {44, 32},  {43, 9},    {69, 0x7B}, {93, 0x65}, {228, 0xA3}, {51, 0xBA}, {78, 0x22}};
  for (const auto& c : cases)
    EXPECT_EQ(VirtualKeyFromScancode(c.scancode), c.virtualKey) << c.scancode;
}

}  // namespace
}  // namespace skyrift::platform
