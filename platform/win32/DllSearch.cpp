// Windows looks for a DLL in the program's folder before System32: a file named like a system
// DLL dropped beside skyrift.exe (in Downloads, say) would be loaded in its place. From before
// main on, DLLs loaded by name come from System32 alone; WINMM and MSACM32, which the loader
// would otherwise take at start, are delay-loaded (cmake/Windows.cmake) so that this holds for
// them too.
#include "platform/win32/Win32.h"

namespace skyrift::platform {
namespace {

[[maybe_unused]] const bool systemDllsOnly =
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;

}  // namespace
}  // namespace skyrift::platform
