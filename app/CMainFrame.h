#pragma once
// The main window: menu bar, dockable toolbar, status bar and the profile list.
// It routes each command to the object that owns it (the view for editing, the
// application for files) and decides the enabling of the profile commands and
// the list-style buttons.
#include <vector>
#include <wx/aui/framemanager.h>
#include <wx/bmpbndl.h>
#include <wx/frame.h>

class CCorvaneDoc;
class CCorvaneView;
class IProfileStore;
class wxAuiToolBar;

class CMainFrame : public wxFrame {
public:
    // `pAppHandler` receives the commands that neither the view nor the frame
    // handles (files, recent files, About, Exit); it may be null.
    CMainFrame(wxEvtHandler* pAppHandler, CCorvaneDoc* pDoc, IProfileStore* pStore);
    ~CMainFrame() override;

    // The list view, or null when there is none.
    CCorvaneView* GetProfileView() const { return m_pView; }
    wxAuiToolBar* GetDockToolBar() const { return m_pToolBar; }
    wxAuiManager& GetDockManager() { return m_mgr; }

    // The main menu, each item that has a toolbar button showing its image.
    wxMenuBar* CreateMainMenu();

    bool IsToolBarShown();
    void ShowToolBar(bool show);
    void ShowStatusBar(bool show);

    // Brings the CAP, NUM and SCRL panes up to date with the keyboard.
    void UpdateKeyIndicators();

private:
    void CreateDockToolBar();
    void CreateStatusPanes();
    wxSize MinimumClientSize() const;

    void OnRouteCommand(wxCommandEvent& event);
    void OnListStyle(wxCommandEvent& event);
    void OnUpdateListStyle(wxUpdateUIEvent& event);
    void OnUpdateProfileCommand(wxUpdateUIEvent& event);
    void OnViewToolBar(wxCommandEvent& event);
    void OnUpdateViewToolBar(wxUpdateUIEvent& event);
    void OnViewStatusBar(wxCommandEvent& event);
    void OnUpdateViewStatusBar(wxUpdateUIEvent& event);
    void OnIdle(wxIdleEvent& event);
    void OnToolBarMotion(wxMouseEvent& event);
    void OnToolBarLeave(wxMouseEvent& event);

    std::vector<wxBitmapBundle> m_toolImages;
    wxAuiManager m_mgr;
    wxAuiToolBar* m_pToolBar = nullptr;
    CCorvaneView* m_pView = nullptr;
    wxEvtHandler* m_pAppHandler;
    int m_nHoverTool = wxID_NONE;
    bool m_bIconsSet = false;
    wxString m_strIndicators[3];
};
