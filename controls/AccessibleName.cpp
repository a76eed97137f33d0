#include "controls/AccessibleName.h"

#include "controls/ToolkitSymbol.h"

#include <wx/window.h>

namespace corvane {

namespace {

// wxAccessible does not exist on GTK: the toolkit's accessibility calls are used.
void* AccessibleOf(wxWindow* window) {
#ifdef __WXGTK__
    using GetAccessible = void* (*)(void*);
    static const auto getAccessible = ToolkitSymbol<GetAccessible>("gtk_widget_get_accessible");
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
    static const auto setName = ToolkitSymbol<SetName>("atk_object_set_name");
    if (void* accessible = AccessibleOf(window); accessible && setName)
        setName(accessible, name.utf8_str());
}

} // namespace corvane
