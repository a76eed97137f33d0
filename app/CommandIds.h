#pragma once
// Command identifiers of the main window. The framework's own commands use wx's
// stock identifiers; ours stay below 32767, the highest id wx accepts for menus.
#include <wx/defs.h>

enum : int {
    // Not wxID_EXIT: GTK gives that stock item a Ctrl+Q key of its own, and the
    // program has no shortcut beyond Ctrl+N, Ctrl+O and Ctrl+S.
    ID_APP_EXIT = 10665,

    ID_FOLDERS_NEW = 10071,
    ID_FOLDERS_DELETE = 10074,
    ID_FOLDERS_EDIT = 10077,
    ID_SETTINGS_CONNECTIONS = 10078,
    ID_SETTINGS_REPORTS = 10085,
    ID_SETTINGS_MAIL = 10088,
    ID_SETTINGS_INTERVAL = 10089,
    ID_SETTINGS_PROXY = 10091,

    ID_VIEW_TOOLBAR = 10392,
    ID_VIEW_STATUS_BAR = 10393,

    // The list-style range, in this order; ID_VIEW_BYNAME is part of the range
    // but does nothing.
    ID_VIEW_SMALLICON = 10408,
    ID_VIEW_LARGEICON = 10409,
    ID_VIEW_LIST = 10410,
    ID_VIEW_DETAILS = 10411,
    ID_VIEW_LINEUP = 10412,
    ID_VIEW_BYNAME = 10413,
};

// The recent-file entries are wxID_FILE1 ... wxID_FILE4.
inline constexpr int kRecentFileCount = 4;
