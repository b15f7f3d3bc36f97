// Stage 1's warning signs, the boss's arrival and the attachment of its engines.
#pragma once

namespace skyrift {

void RunWarningSigns();
void RunBossEntry();

}  // namespace skyrift
