// Stage 1's warning signs.
#pragma once

namespace skyrift {

void RunWarningSigns();

}  // namespace skyrift
