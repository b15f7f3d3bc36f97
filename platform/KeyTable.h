// The table of keys fed by KeyEvent, for the platforms' GetAsyncKeyState.
#pragma once

namespace skyrift::platform {

// 0x8000 while the key is down in the table, plus 0x0001 when it was pressed since the previous
// query of this code; the query clears the 0x0001 bit. Codes outside 1 to 255 read as 0.
int QueryKeyTable(int virtualKey);

}  // namespace skyrift::platform
