#include "app/StringTable.h"

#include "app/CommandIds.h"

#include <wx/defs.h>
#include <wx/translation.h>

namespace corvane {

namespace {

struct Entry {
    int id;
    const char* text;
};

// Status-bar prompt, then the tooltip after the line break.
const Entry kEntries[] = {
    {ID_FOLDERS_NEW, wxTRANSLATE("Create new folders profile\nNew folders profile")},
    {ID_FOLDERS_DELETE, wxTRANSLATE("Delete the selected folders profile\nDelete folders profile")},
    {ID_FOLDERS_EDIT, wxTRANSLATE("Edit the selected folders profile\nEdit folders profile")},
    {ID_SETTINGS_CONNECTIONS, wxTRANSLATE("Edit FTP connections\nFTP Connections")},
    {ID_SETTINGS_REPORTS, wxTRANSLATE("Edit report settings\nReport settings")},
    {ID_SETTINGS_MAIL, wxTRANSLATE("Edit the mail account for reports\nMail Account")},
    {ID_SETTINGS_INTERVAL, wxTRANSLATE("Edit the execution interval\nInterval Configuration")},
    {ID_SETTINGS_PROXY, wxTRANSLATE("Edit the proxy settings\nProxy Settings")},
    {wxID_NEW, wxTRANSLATE("Create a new document\nNew")},
    {wxID_OPEN, wxTRANSLATE("Open an existing document\nOpen")},
    {wxID_SAVE, wxTRANSLATE("Save the active document\nSave")},
    {wxID_FILE1, wxTRANSLATE("Open this document")},
    {wxID_FILE2, wxTRANSLATE("Open this document")},
    {wxID_FILE3, wxTRANSLATE("Open this document")},
    {wxID_FILE4, wxTRANSLATE("Open this document")},
    {wxID_ABOUT, wxTRANSLATE("Display program information, version number and copyright\nAbout")},
    {ID_APP_EXIT, wxTRANSLATE("Quit the application; prompts to save documents\nExit")},
    {ID_VIEW_TOOLBAR, wxTRANSLATE("Show or hide the toolbar\nToggle Toolbar")},
    {ID_VIEW_STATUS_BAR, wxTRANSLATE("Show or hide the status bar\nToggle Status Bar")},
    {ID_VIEW_SMALLICON, wxTRANSLATE("Display items by using small icons.\nSmall Icons")},
    {ID_VIEW_LARGEICON, wxTRANSLATE("Display items by using large icons.\nLarge Icons")},
    {ID_VIEW_LIST, wxTRANSLATE("Display items in a list.\nList")},
    {ID_VIEW_DETAILS, wxTRANSLATE("Display detailed information about each item in the window.\nDetails")},
};

} // namespace

wxString GetCommandString(int id) {
    for (const auto& e : kEntries)
        if (e.id == id)
            return wxGetTranslation(wxString::FromUTF8(e.text));
    return {};
}

wxString GetCommandPrompt(int id) {
    return GetCommandString(id).BeforeFirst('\n');
}

wxString GetCommandTip(int id) {
    const wxString text = GetCommandString(id);
    return text.Find('\n') == wxNOT_FOUND ? wxString() : text.AfterFirst('\n');
}

} // namespace corvane
