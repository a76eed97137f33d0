#pragma once
// Helpers for the application shell tests: profiles and projects written to disk, on
// top of the shared temporary folder, environment override, store and event pump.
#include "../common/EnvOverride.h"
#include "../common/EventPump.h"
#include "../common/MemoryStore.h"
#include "../common/TempDir.h"
#include "model/CCorvaneDoc.h"

#include <fstream>
#include <string>
#include <wx/menu.h>

namespace shelltest {

inline CFolderProfile MakeProfile(const std::string& host, bool enabled = true, bool download = true,
                                  bool upload = false) {
    CFolderProfile p;
    p.m_strConnection = host;
    p.m_strFtpFolder = "/remote/" + host;
    p.m_strLocalFolder = "/home/operator/" + host;
    p.m_bEnabled = enabled;
    p.m_bDownload = download;
    p.m_bUpload = upload;
    return p;
}

// Writes a project with the given number of profiles; returns its file bytes.
inline std::string WriteProject(const std::string& path, int profiles) {
    CCorvaneDoc doc;
    doc.OnNewDocument();
    for (int i = 0; i < profiles; ++i)
        doc.m_arrProfiles.push_back(MakeProfile("host" + std::to_string(i)));
    const std::string bytes = doc.SaveToMemory();
    std::ofstream(path, std::ios::binary) << bytes;
    return bytes;
}

inline bool MenuItemEnabled(wxMenu* menu, int id) {
    wxMenuItem* item = menu->FindItem(id);
    return item && item->IsEnabled();
}

} // namespace shelltest
