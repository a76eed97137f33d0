#pragma once
// A control that shows only an icon still needs words: the tooltip for the sighted
// operator, and the accessible name that screen readers announce.
class wxString;
class wxWindow;

namespace corvane {

// Sets the window's name, its tooltip and, on GTK, the name of its accessible object
// (GTK takes a button's accessible name from its label, which an icon button lacks).
void SetAccessibleName(wxWindow* window, const wxString& name);

} // namespace corvane
