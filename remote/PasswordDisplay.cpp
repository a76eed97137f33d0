#include "remote/PasswordDisplay.h"

#include "controls/ToolkitSymbol.h"

#include <wx/textctrl.h>

namespace corvane::remote {

namespace {

// GTK masks with a bullet by default; the operator has always seen "*".
void UseAsteriskMask(wxTextCtrl* edit) {
#ifdef __WXGTK__
    using SetInvisibleChar = void (*)(void*, unsigned int);
    static const auto setInvisibleChar = ToolkitSymbol<SetInvisibleChar>("gtk_entry_set_invisible_char");
    if (setInvisibleChar && edit->GetHandle())
        setInvisibleChar(edit->GetHandle(), '*');
#else
    (void)edit;
#endif
}

} // namespace

void SetPasswordShown(wxTextCtrl* edit, bool shown) {
    // wxGTK switches the password style of a live control.
    long style = edit->GetWindowStyleFlag();
    style = shown ? (style & ~wxTE_PASSWORD) : (style | wxTE_PASSWORD);
    edit->SetWindowStyleFlag(style);
    if (!shown)
        UseAsteriskMask(edit);
}

bool IsPasswordShown(const wxTextCtrl* edit) {
    return !edit->HasFlag(wxTE_PASSWORD);
}

} // namespace corvane::remote
