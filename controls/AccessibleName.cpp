#include "controls/AccessibleName.h"

#include <dlfcn.h>
#include <wx/window.h>

namespace corvane {

namespace {

// wxAccessible does not exist on GTK. The toolkit is already loaded by wx, so its
// accessibility calls are looked up rather than linked directly.
template <class F> F Lookup(const char* symbol) {
    return reinterpret_cast<F>(dlsym(RTLD_DEFAULT, symbol));
}

void* AccessibleOf(wxWindow* window) {
#ifdef __WXGTK__
    using GetAccessible = void* (*)(void*);
    static const auto getAccessible = Lookup<GetAccessible>("gtk_widget_get_accessible");
    if (getAccessible && window->GetHandle())
        return getAccessible(window->GetHandle());
#else
    (void)window;
#endif
    return nullptr;
}

} // namespace

void SetAccessibleName(wxWindow* window, const wxString& name) {
    window->SetName(name);
    window->SetToolTip(name);
    using SetName = void (*)(void*, const char*);
    static const auto setName = Lookup<SetName>("atk_object_set_name");
    if (void* accessible = AccessibleOf(window); accessible && setName)
        setName(accessible, name.utf8_str());
}

} // namespace corvane
