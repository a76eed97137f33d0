#pragma once
// Shows a password box's text plain, or masks every character with "*"; and the
// password row the editors share: the field, and under it its "Show password" box.
class wxCheckBox;
class wxFlexGridSizer;
class wxTextCtrl;
class wxWindow;

namespace corvane::remote {

void SetPasswordShown(wxTextCtrl* edit, bool shown);

struct PasswordRow {
    wxTextCtrl* edit = nullptr;
    wxCheckBox* show = nullptr;
};
// Adds the field after the caller's label in a two-column grid, and the box under the
// field. The box shows or masks the text and hands the keyboard back to the field.
PasswordRow AddPasswordRow(wxWindow* parent, wxFlexGridSizer* grid, int editId, int showId);
// The field as the box says (after the box was set without a click).
void ApplyShowPassword(const PasswordRow& row);

} // namespace corvane::remote
