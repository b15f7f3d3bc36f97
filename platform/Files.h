// Where the program's own files are.
#pragma once

#include <string>

namespace skyrift::platform {

// The folder that holds the running executable; empty when the system cannot say.
std::string ProgramFolder();

}  // namespace skyrift::platform
