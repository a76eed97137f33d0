#pragma once
// The list of the project's folder profiles, one row per profile in document order.
// It is the command target for everything that edits the project.
#include "controls/CBitmapImageList.h"

#include <array>
#include <wx/listctrl.h>

class CCorvaneDoc;
class CFolderProfile;
class IProfileStore;
class wxMenu;

class CCorvaneView : public wxListCtrl {
public:
    static constexpr int kColumnCount = 5;
    static constexpr const char* kSection = "View";

    // The store receives the column widths when the view is destroyed; it may be null.
    CCorvaneView(wxWindow* parent, CCorvaneDoc* pDoc, IProfileStore* pStore);
    ~CCorvaneView() override;

    CCorvaneDoc* GetDocument() const { return m_pDoc; }

    // After every new or opened project: the first call builds the columns, every
    // call rebuilds the rows.
    void OnInitialUpdate();

    void FillList();
    void UpdateRow(int position);
    void AppendRow();
    void LoadColumnWidths(int defaultWidth);
    void SaveColumnWidths();

    // The row last selected, -1 when there is none (and after every refill).
    int GetSelectionMark() const { return m_nSelectionMark; }

    // wxLC_ICON, wxLC_SMALL_ICON, wxLC_LIST or wxLC_REPORT.
    long GetViewType() const { return GetWindowStyleFlag() & wxLC_MASK_TYPE; }
    void SetViewType(long type);

    // The main window's "Folders" popup with its items' enabling brought up to date,
    // as the context menu shows it. Null when the window has no such menu.
    wxMenu* CreateContextMenu();

    // The editing commands; public so that tests can run them directly.
    void OnFoldersNew();
    void OnFoldersEdit();
    void OnFoldersDelete();
    // Runs a settings editor of the project; OK marks the project modified.
    template <class Editor> void EditSettings();
    void OnSettingsConnections();

private:
    void SetRow(long row, const CFolderProfile& profile);
    // Inserts the rows of the profiles from `first` to the last.
    void InsertRows(std::size_t first);
    void UseSmallPictures();
    wxWindow* DialogParent();
    void OnCommand(wxCommandEvent& event);
    void OnItemSelected(wxListEvent& event);
    void OnLeftDoubleClick(wxMouseEvent& event);
    void OnRowKey(wxKeyEvent& event);
    void OnContextMenu(wxContextMenuEvent& event);

    CCorvaneDoc* m_pDoc;
    IProfileStore* m_pStore;
    CBitmapImageList m_imageListSmall;
    CBitmapImageList m_imageListLarge;
    bool m_bColumnsCreated = false;
    std::array<int, kColumnCount> m_nColumnWidths{};
    int m_nSelectionMark = -1;
};
