#pragma once
// Helpers for the application shell tests: profiles and projects written to disk, and
// a main window on a new project, on top of the shared temporary folder, environment
// override, store and event pump.
#include "DlgTestSupport.h"
#include "EnvOverride.h"
#include "EventPump.h"
#include "MemoryStore.h"
#include "TempDir.h"
#include "app/CCorvaneView.h"
#include "app/CMainFrame.h"
#include "model/CCorvaneDoc.h"

#include <string>
#include <wx/menu.h>

namespace shelltest {

// Downloading only.
inline CFolderProfile MakeProfile(const std::string& host, bool enabled = true) {
    CFolderProfile p;
    p.m_strConnection = host;
    p.m_strFtpFolder = "/remote/" + host;
    p.m_strLocalFolder = "/home/operator/" + host;
    p.m_bEnabled = enabled;
    p.m_bDownload = true;
    p.m_bUpload = false;
    return p;
}

// Writes a project with the given number of profiles; returns its file bytes.
inline std::string WriteProject(const std::string& path, int profiles) {
    CCorvaneDoc doc;
    doc.OnNewDocument();
    for (int i = 0; i < profiles; ++i)
        doc.m_arrProfiles.push_back(MakeProfile("host" + std::to_string(i)));
    const std::string bytes = doc.SaveToMemory();
    WriteBytes(path, bytes);
    return bytes;
}

inline bool MenuItemEnabled(wxMenu* menu, int id) {
    wxMenuItem* item = menu->FindItem(id);
    return item && item->IsEnabled();
}

// The main window shown on a new project kept in memory.
class FrameTest : public dlgtest::DialogTest {
protected:
    void SetUp() override {
        m_doc.OnNewDocument();
        m_pFrame = new CMainFrame(nullptr, &m_doc, &m_store);
        m_pFrame->GetProfileView()->OnInitialUpdate();
        m_pFrame->Show();
    }
    void TearDown() override { delete m_pFrame; }

    CCorvaneView* View() { return m_pFrame->GetProfileView(); }

    void AddProfiles(int n) {
        for (int i = 0; i < n; ++i)
            m_doc.m_arrProfiles.push_back(MakeProfile("host" + std::to_string(i)));
        View()->FillList();
    }

    CMemoryStore m_store;
    CCorvaneDoc m_doc{&m_store};
    CMainFrame* m_pFrame = nullptr;
};

} // namespace shelltest
