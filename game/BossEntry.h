// Stage 1's boss: its arrival and the attachment of its engines.
#pragma once

namespace skyrift {

void RunBossEntry();

}  // namespace skyrift
