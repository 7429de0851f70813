// Replaces entries of a loaded module's import address table, so that a
// test can watch the system calls a module makes without any hook in the
// module itself.
#pragma once
#include <windows.h>

namespace wt {

// Points `module`'s import of `function` from `dll` at `replacement` and
// returns the address it held before, or nullptr when the module does not
// import it.
void* PatchImport(HMODULE module, const char* dll, const char* function, void* replacement);

}  // namespace wt
