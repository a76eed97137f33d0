#pragma once
// The program's own texts that belong to commands: the status-bar prompt and the
// tooltip of each command, and the titles the frame shows.
#include <wx/string.h>
#include <wx/translation.h>

namespace corvane {

inline constexpr const char* kAppTitle = "Corvane";
// The status bar between commands, in English: shown through wxGetTranslation.
inline constexpr const char* kIdleText = wxTRANSLATE("Ready");

// The whole "prompt\ntooltip" entry of a command; empty when it has none.
wxString GetCommandString(int id);
// The part before the line break: what the status bar shows while the command is
// highlighted.
wxString GetCommandPrompt(int id);
// The part after the line break (empty when there is none).
wxString GetCommandTip(int id);

} // namespace corvane
