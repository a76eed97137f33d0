#pragma once
// Small helpers shared by the settings editors: how numbers are read back from a
// text field, how texts are trimmed, and the message boxes' captions and icons.
#include <cstdint>
#include <functional>
#include <string>
#include <wx/string.h>

class wxWindow;
class wxSizer;

namespace corvane::dlg {

// Captions of the message boxes, as the operator knows them (trailing blank included).
inline constexpr const char* kCaptionInformation = "Information ";
inline constexpr const char* kCaptionQuestion = "Question ?";
inline constexpr const char* kCaptionError = "Error";

// A number typed into a field: its leading decimal digits; none gives 0. Values beyond
// the 32-bit range saturate instead of wrapping.
std::int32_t ReadLeadingNumber(const wxString& text);

// The field text of a stored number ("%d").
wxString FormatNumber(std::int32_t value);

// Blanks (white space) removed at both ends.
wxString Trimmed(const wxString& text);

// Refusals and notices: OK button, information icon.
void ShowInformation(wxWindow* parent, const wxString& text, const wxString& caption);
// Failures of a component: OK button, stop icon.
void ShowError(wxWindow* parent, const wxString& text);
// Yes/No question with the question icon; true for Yes.
bool AskYesNo(wxWindow* parent, const wxString& text);

// Runs a blocking job (network) on a worker thread while this thread keeps painting
// the windows, with input blocked and the wait cursor shown; rethrows what the job threw.
void RunBlocking(const std::function<void()>& job);

// The OK/Cancel row at the bottom right of a dialog; either id may be absent (0).
wxSizer* MakeButtonRow(wxWindow* parent, bool withCancel);

} // namespace corvane::dlg
