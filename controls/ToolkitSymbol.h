#pragma once
// A function of the GUI toolkit wx runs on, for what wx has no call of its own. The
// toolkit is already loaded by wx, so the function is looked up rather than linked:
// the build needs no toolkit headers, and a missing function gives null.
#include <dlfcn.h>

namespace corvane {

template <class F> F ToolkitSymbol(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_DEFAULT, name));
}

} // namespace corvane
