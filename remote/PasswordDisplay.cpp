#include "remote/PasswordDisplay.h"

#include "controls/ToolkitSymbol.h"

#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>
#include <wx/translation.h>

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

PasswordRow AddPasswordRow(wxWindow* parent, wxFlexGridSizer* grid, int editId, int showId) {
    PasswordRow row;
    row.edit = new wxTextCtrl(parent, editId, wxString(), wxDefaultPosition, wxDefaultSize, wxTE_PASSWORD);
    grid->Add(row.edit, 1, wxEXPAND);
    grid->AddSpacer(0);
    row.show = new wxCheckBox(parent, showId, _("Show password"));
    grid->Add(row.show);
    row.show->Bind(wxEVT_CHECKBOX, [row](wxCommandEvent& event) {
        ApplyShowPassword(row);
        row.edit->SetFocus();
        event.Skip();
    });
    return row;
}

void ApplyShowPassword(const PasswordRow& row) {
    SetPasswordShown(row.edit, row.show->IsChecked());
}

} // namespace corvane::remote
