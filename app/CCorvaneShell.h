#pragma once
// Everything the application object does, kept apart from wxApp so that start-up
// and the file commands run (and are tested) without a message loop: the settings
// store, the recent-file list, the one project document, the main window, and the
// New, Open, Save, recent-file, About and Exit commands with the save prompt.
#include "app/CRecentFileList.h"
#include "model/CCorvaneDoc.h"
#include "model/CFileStamp.h"

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include <wx/event.h>
#include <wx/weakref.h>

class CMainFrame;
class CSettingsStore;
class wxCloseEvent;
class wxActivateEvent;
class wxIdleEvent;

class CCorvaneShell : public wxEvtHandler {
public:
    enum class OpenResult { opened, cancelled, failed };

    // The store lies at `storePath`, or at the settings store's default place.
    explicit CCorvaneShell(const std::string& storePath = {});
    ~CCorvaneShell() override;

    // The project file named on the command line (args[0] is the program), made
    // absolute; empty when there is none.
    static wxString ProjectArgument(const std::vector<wxString>& args);

    // Start-up given the command line: false when the program is to end at once
    // (the project named could not be read; the operator has been told).
    bool InitInstance(const std::vector<wxString>& args);

    // Another start of the program in this session: the window comes to the front
    // (with the launcher's token, which lets it take the focus) and the file, if
    // any, opens as a dropped one does, once no dialog is open.
    void OnOtherStart(const wxString& file, const std::string& startupId);

    CMainFrame* GetMainFrame() const;
    CCorvaneDoc& GetDocument() { return m_doc; }
    CSettingsStore& GetSettings() { return *m_pStore; }
    const CRecentFileList& GetRecentFiles() const { return m_recentFiles; }

    // The framework's file handling.
    bool OnFileNew();
    OpenResult OpenDocumentFile(const wxString& path);
    // Saves under the project's path, asking for one when it has none.
    bool DoFileSave();
    // Asks whether to save a modified project; false when the operator cancels
    // or the save fails.
    bool SaveModified();
    void OnAbout();

    // "<title> - Corvane".
    wxString GetWindowTitle() const;

    // The open dialog's filter.
    static const char* const kFileFilter;

private:
    // The file dialogs, opening in the project's folder: false when the operator
    // cancels. The save dialog asks again until the name chosen can be written.
    bool AskSaveFileName(wxString& path);
    bool AskOpenFileName(wxString& path);

    // Reads the project from `path` in place of the one shown, telling what failed.
    OpenResult ReadDocument(const std::string& path);
    // Bytes after the end of the project are not part of it: the window shows the
    // project without them and a save leaves them out, so the operator is told on opening.
    void SayIfTrailingBytes();
    // The window came back to the front: when another program has written the project's
    // file meanwhile, offers to read it again.
    void OfferToReadAgain();

    void CreateMainFrame();
    void InitialUpdate();
    void AddToRecentFileList(const std::string& path);
    void RefreshRecentFileMenu();

    void OnCommand(wxCommandEvent& event);
    void OnFrameClose(wxCloseEvent& event);
    void OnFrameIdle(wxIdleEvent& event);
    void OnFrameActivate(wxActivateEvent& event);

    class CModalCount;

    std::unique_ptr<CSettingsStore> m_pStore;
    CCorvaneDoc m_doc;
    CRecentFileList m_recentFiles;
    // Cleared by itself when the window is deleted.
    wxWeakRef<CMainFrame> m_pFrame;
    std::unique_ptr<CModalCount> m_pModalCount;
    // Files handed over by other starts, waiting for the dialogs to close.
    std::deque<wxString> m_arrHandedFiles;
    // The window went to the background, and came back: the file is looked at, once.
    bool m_bInBackground = false;
    bool m_bBackToFront = false;
    // The change to the file the operator chose not to read.
    std::optional<CFileStamp> m_declinedStamp;
};
