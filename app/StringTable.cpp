#include "app/StringTable.h"

#include "app/CommandIds.h"

#include <wx/defs.h>

namespace corvane {

namespace {

struct Entry {
    int id;
    const char* text;
};

// Status-bar prompt, then the tooltip after the line break.
const Entry kEntries[] = {
    {ID_FOLDERS_NEW, "Create new folders profile\nNew folders profile"},
    {ID_FOLDERS_DELETE, "Delete the selected folders profile\nDelete folders profile"},
    {ID_FOLDERS_EDIT, "Edit the selected folders profile\nEdit folders profile"},
    {ID_SETTINGS_CONNECTIONS, "Edit FTP connections\nFTP Connections"},
    {ID_SETTINGS_REPORTS, "Edit report settings\nReport settings"},
    {ID_SETTINGS_MAIL, "Edit the mail account for reports\nMail Account"},
    {ID_SETTINGS_INTERVAL, "Edit the execution interval\nInterval Configuration"},
    {ID_SETTINGS_PROXY, "Edit the proxy settings\nProxy Settings"},
    {wxID_NEW, "Create a new document\nNew"},
    {wxID_OPEN, "Open an existing document\nOpen"},
    {wxID_SAVE, "Save the active document\nSave"},
    {wxID_FILE1, "Open this document"},
    {wxID_FILE2, "Open this document"},
    {wxID_FILE3, "Open this document"},
    {wxID_FILE4, "Open this document"},
    {wxID_ABOUT, "Display program information, version number and copyright\nAbout"},
    {ID_APP_EXIT, "Quit the application; prompts to save documents\nExit"},
    {ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle Toolbar"},
    {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle Status Bar"},
    {ID_VIEW_SMALLICON, "Display items by using small icons.\nSmall Icons"},
    {ID_VIEW_LARGEICON, "Display items by using large icons.\nLarge Icons"},
    {ID_VIEW_LIST, "Display items in a list.\nList"},
    {ID_VIEW_DETAILS, "Display detailed information about each item in the window.\nDetails"},
};

} // namespace

wxString GetCommandString(int id) {
    for (const auto& e : kEntries)
        if (e.id == id)
            return wxString::FromUTF8(e.text);
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
