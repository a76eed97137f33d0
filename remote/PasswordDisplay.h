#pragma once
// Shows a password box's text plain, or masks every character with "*".
class wxTextCtrl;

namespace corvane::remote {

void SetPasswordShown(wxTextCtrl* edit, bool shown);
bool IsPasswordShown(const wxTextCtrl* edit);

} // namespace corvane::remote
