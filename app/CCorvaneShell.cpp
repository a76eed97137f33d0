#include "app/CCorvaneShell.h"

#include "app/CAboutDialog.h"
#include "app/CCorvaneView.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/StringTable.h"
#include "controls/CDialogBase.h"
#include "controls/ToolkitSymbol.h"
#include "controls/WxText.h"
#include "model/CSafeFileWriter.h"
#include "platform/CSettingsStore.h"
#include "platform/StandardComponents.h"

#include <wx/app.h>
#include <wx/dnd.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/modalhook.h>
#include <wx/utils.h>

#include <algorithm>
#include <climits>
#include <filesystem>

const char* const CCorvaneShell::kFileFilter = wxTRANSLATE("Corvane Files (*.dix)|*.dix|All Files (*.*)|*");

namespace {

constexpr const char* kExtension = ".dix";

// The project's name as the window shows it; a new project's in the window's language.
wxString ShownTitle(const CCorvaneDoc& doc) {
    return doc.GetPathName().empty() ? _("Untitled") : PathToWx(doc.GetTitle());
}

// Argument order as CDialogBase::ShowError.
void ShowError(wxWindow* parent, const std::string& text) {
    CDialogBase::ShowMessage(parent, PathToWx(text), corvane::kAppTitle, wxOK | wxICON_EXCLAMATION);
}

// A recent-file entry as the menu shows it: the path, shortened in the middle
// when long, so that the menu keeps a sensible width.
wxString RecentFileLabel(int index, const std::string& path) {
    constexpr std::size_t kMaxLength = 40;
    wxString shown = PathToWx(path);
    if (shown.length() > kMaxLength) {
        const wxString name = shown.AfterLast('/');
        wxString dir = shown.BeforeLast('/');
        while (!dir.empty() && dir.length() + name.length() + 5 > kMaxLength)
            dir = dir.BeforeLast('/');
        shown = dir + "/.../" + name;
    }
    shown.Replace("&", "&&");
    return wxString::Format("&%d %s", index + 1, shown);
}

// GTK's chooser reports a path only once it has really been on screen; a path set
// on it by whoever drives it (a test, say) counts as the choice as well.
class CFileChooser : public wxFileDialog {
public:
    using wxFileDialog::wxFileDialog;
    void SetPath(const wxString& path) override {
        wxFileDialog::SetPath(path);
        m_strSetPath = path;
    }
    wxString GetPath() const override {
        const wxString chosen = wxFileDialog::GetPath();
        return chosen.empty() ? m_strSetPath : chosen;
    }

private:
    wxString m_strSetPath;
};

// Where the file dialogs open: the project's folder, home for a new project.
wxString StartFolder(const std::string& projectPath) {
    return projectPath.empty() ? wxGetHomeDir() : wxFileName(PathToWx(projectPath)).GetPath();
}

// Files dropped on the main window open one after the other, each after the
// save prompt, once the drop itself has finished.
class CFileDropTarget : public wxFileDropTarget {
public:
    explicit CFileDropTarget(CCorvaneShell* pShell) : m_pShell(pShell) {}

    bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& filenames) override {
        CCorvaneShell* shell = m_pShell;
        const wxArrayString files = filenames;
        shell->CallAfter([shell, files] {
            for (const wxString& file : files)
                shell->OpenDocumentFile(file);
        });
        return true;
    }

private:
    CCorvaneShell* m_pShell;
};

// Lends the window the launcher's start-up token, which tells the desktop that the
// operator asked for it, so that raising it is not taken for stealing the focus.
void TakeStartupId(wxWindow* frame, const std::string& startupId) {
#ifdef __WXGTK__
    using SetStartupId = void (*)(void*, const char*);
    static const auto setStartupId = corvane::ToolkitSymbol<SetStartupId>("gtk_window_set_startup_id");
    if (setStartupId && !startupId.empty() && frame->GetHandle())
        setStartupId(frame->GetHandle(), startupId.c_str());
#else
    (void)frame;
    (void)startupId;
#endif
}

} // namespace

// Counts the modal dialogs and message boxes on screen.
class CCorvaneShell::CModalCount : public wxModalDialogHook {
public:
    CModalCount() { Register(); }
    ~CModalCount() override { Unregister(); }
    bool IsOpen() const { return m_nOpen > 0; }

protected:
    int Enter(wxDialog*) override {
        ++m_nOpen;
        return wxID_NONE;
    }
    void Exit(wxDialog*) override { --m_nOpen; }

private:
    int m_nOpen = 0;
};

CCorvaneShell::CCorvaneShell(const std::string& storePath)
    : m_pStore(std::make_unique<CSettingsStore>(storePath)), m_doc(m_pStore.get()),
      m_recentFiles(kRecentFileCount), m_pModalCount(std::make_unique<CModalCount>()) {
    Bind(wxEVT_MENU, &CCorvaneShell::OnCommand, this);
}

CCorvaneShell::~CCorvaneShell() {
    // The view writes its column widths into the store as it goes: the window
    // must be gone before the store is.
    if (CMainFrame* frame = m_pFrame.get()) {
        frame->Unbind(wxEVT_CLOSE_WINDOW, &CCorvaneShell::OnFrameClose, this);
        wxPendingDelete.DeleteObject(frame);
        delete frame;
    }
}

CMainFrame* CCorvaneShell::GetMainFrame() const {
    return m_pFrame.get();
}

wxString CCorvaneShell::ProjectArgument(const std::vector<wxString>& args) {
    // One project file at most; options are not ours and are passed over.
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (!args[i].StartsWith("-")) {
            wxFileName name(args[i]);
            name.MakeAbsolute();
            return name.GetFullPath();
        }
    }
    return {};
}

bool CCorvaneShell::InitInstance(const std::vector<wxString>& args) {
    corvane::RegisterStandardComponents();
    m_recentFiles.ReadList(*m_pStore);

    if (const wxString file = ProjectArgument(args); !file.empty()) {
        const std::string path = PathFromWx(file);
        std::string error;
        // Only a new project publishes the working directory. A project named at
        // start-up never does, not even when it cannot be read and the document
        // falls back to a new one on its way to the error.
        m_doc.SetProfileStore(nullptr);
        const CCorvaneDoc::OpenResult opened = m_doc.OnOpenDocument(path, error);
        m_doc.SetProfileStore(m_pStore.get());
        if (opened != CCorvaneDoc::OpenResult::ok) {
            ShowError(nullptr, error);
            return false;
        }
        AddToRecentFileList(path);
    } else {
        m_doc.OnNewDocument();
    }

    CreateMainFrame();
    InitialUpdate();
    m_pFrame->Show();
    m_pFrame->Update();
    SayIfTrailingBytes();
    return true;
}

void CCorvaneShell::SayIfTrailingBytes() {
    const std::uint64_t n = m_doc.GetTrailingBytes();
    if (n == 0)
        return;
    const auto count = static_cast<unsigned>(std::min<std::uint64_t>(n, UINT_MAX));
    CDialogBase::ShowWarning(
        m_pFrame, wxString::Format(wxPLURAL("%s ends with %s byte that is not part of the project. "
                                            "Saving the project leaves it out.",
                                            "%s ends with %s bytes that are not part of the project. "
                                            "Saving the project leaves them out.",
                                            count),
                                   ShownTitle(m_doc), std::to_string(n)));
}

void CCorvaneShell::CreateMainFrame() {
    m_pFrame = new CMainFrame(this, &m_doc, m_pStore.get());
    m_pFrame->Bind(wxEVT_CLOSE_WINDOW, &CCorvaneShell::OnFrameClose, this);
    m_pFrame->Bind(wxEVT_IDLE, &CCorvaneShell::OnFrameIdle, this);
    m_pFrame->Bind(wxEVT_ACTIVATE, &CCorvaneShell::OnFrameActivate, this);
    m_pFrame->SetDropTarget(new CFileDropTarget(this));
    RefreshRecentFileMenu();
}

void CCorvaneShell::InitialUpdate() {
    if (!m_pFrame)
        return;
    m_pFrame->GetProfileView()->OnInitialUpdate();
    m_pFrame->SetTitle(GetWindowTitle());
}

wxString CCorvaneShell::GetWindowTitle() const {
    return ShownTitle(m_doc) + " - " + corvane::kAppTitle;
}

bool CCorvaneShell::SaveModified() {
    if (!m_doc.IsModified())
        return true;
    const wxString question = wxString::Format(_("Save changes to %s?"), ShownTitle(m_doc));
    switch (CDialogBase::ShowMessage(m_pFrame, question, corvane::kAppTitle,
                                     wxYES_NO | wxCANCEL | wxICON_EXCLAMATION)) {
    case wxYES:
        return DoFileSave();
    case wxNO:
        return true;
    default:
        return false;
    }
}

bool CCorvaneShell::OnFileNew() {
    if (!SaveModified())
        return false;
    m_doc.OnNewDocument();
    InitialUpdate();
    return true;
}

CCorvaneShell::OpenResult CCorvaneShell::OpenDocumentFile(const wxString& file) {
    wxFileName name(file);
    name.MakeAbsolute();
    const std::string path = PathFromWx(name.GetFullPath());
    // The project already open is not read again.
    if (!m_doc.GetPathName().empty() && path == m_doc.GetPathName())
        return OpenResult::opened;
    if (!SaveModified())
        return OpenResult::cancelled;
    return ReadDocument(path);
}

CCorvaneShell::OpenResult CCorvaneShell::ReadDocument(const std::string& path) {
    std::string error;
    switch (m_doc.OnOpenDocument(path, error)) {
    case CCorvaneDoc::OpenResult::ok:
        AddToRecentFileList(path);
        InitialUpdate();
        SayIfTrailingBytes();
        return OpenResult::opened;
    case CCorvaneDoc::OpenResult::badFormat:
        // The project has been replaced by a new one: show that, not the old rows.
        ShowError(m_pFrame, error);
        InitialUpdate();
        return OpenResult::failed;
    case CCorvaneDoc::OpenResult::cannotOpen:
    default:
        ShowError(m_pFrame, error);
        return OpenResult::failed;
    }
}

namespace {

// Another program wrote the project's file since it was opened here: replacing it would
// throw that work away unseen. Yes replaces, No saves under another name.
int AskReplaceChangedFile(const std::string& title, wxWindow* parent) {
    const CDialogBase::ButtonLabels labels{_("&Replace"), _("Save &As..."), _("Cancel")};
    return CDialogBase::ShowMessage(
        parent,
        wxString::Format(_("%s has been changed by another program since it was opened or "
                           "saved here.\n\nReplace it with the project shown in this window, or "
                           "save this project under another name?"),
                         PathToWx(title)),
        corvane::kAppTitle, wxYES_NO | wxCANCEL | wxCANCEL_DEFAULT | wxICON_EXCLAMATION, &labels);
}

} // namespace

bool CCorvaneShell::DoFileSave() {
    std::string path = m_doc.GetPathName();
    // A project that cannot be written where it is (read-only, or its folder takes
    // no files) is saved under a new name, as a new project is.
    bool askName = path.empty() || !CSafeFileWriter::CheckReplaceable(path).empty();
    if (!askName && m_doc.ChangedOnDisk()) {
        const int answer = AskReplaceChangedFile(m_doc.GetTitle(), m_pFrame);
        if (answer == wxCANCEL)
            return false;
        askName = answer == wxNO;
    }
    if (askName) {
        wxString chosen;
        if (!AskSaveFileName(chosen))
            return false;
        path = PathFromWx(chosen);
    }
    std::string error;
    if (!m_doc.OnSaveDocument(path, error)) {
        ShowError(m_pFrame, error);
        return false;
    }
    AddToRecentFileList(path);
    if (m_pFrame)
        m_pFrame->SetTitle(GetWindowTitle());
    return true;
}

bool CCorvaneShell::AskSaveFileName(wxString& path) {
    wxString folder = StartFolder(m_doc.GetPathName());
    wxString name = ShownTitle(m_doc);
    if (!name.Contains("."))
        name += kExtension;
    for (;;) {
        // The overwrite question is asked here rather than by the chooser: only
        // here is ".dix" added to a name typed without it.
        CFileChooser dlg(m_pFrame, _("Save As"), folder, name, wxGetTranslation(kFileFilter), wxFD_SAVE);
        if (dlg.ShowModal() != wxID_OK || dlg.GetPath().empty())
            return false;
        wxFileName chosen(dlg.GetPath());
        if (!chosen.HasExt() && dlg.GetFilterIndex() == 0)
            chosen.SetExt(wxString(kExtension).Mid(1));
        path = chosen.GetFullPath();
        folder = chosen.GetPath();
        name = chosen.GetFullName();

        const std::string target = PathFromWx(path);
        if (const std::string refused = CSafeFileWriter::CheckReplaceable(target); !refused.empty()) {
            CDialogBase::ShowMessage(
                m_pFrame,
                wxString::Format(_("The project cannot be saved as %s: %s.\nChoose another name or folder."),
                                 name, PathToWx(refused)),
                _("Save As"), wxOK | wxICON_EXCLAMATION);
            continue;
        }
        std::error_code ec;
        if (!std::filesystem::exists(std::filesystem::symlink_status(target, ec)))
            return true;
        if (CDialogBase::ShowMessage(
                m_pFrame, wxString::Format(_("%s already exists.\nDo you want to replace it?"), name),
                _("Confirm Save As"), wxYES_NO | wxNO_DEFAULT | wxICON_EXCLAMATION) == wxYES)
            return true;
    }
}

bool CCorvaneShell::AskOpenFileName(wxString& path) {
    CFileChooser dlg(m_pFrame, _("Open"), StartFolder(m_doc.GetPathName()), wxEmptyString,
                     wxGetTranslation(kFileFilter), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dlg.ShowModal() != wxID_OK)
        return false;
    path = dlg.GetPath();
    return true;
}

void CCorvaneShell::OnAbout() {
    CAboutDialog dlg(m_pFrame);
    dlg.ShowModal();
}

void CCorvaneShell::OnOtherStart(const wxString& file, const std::string& startupId) {
    CMainFrame* frame = m_pFrame.get();
    if (!frame)
        return;
    TakeStartupId(frame, startupId);
    if (frame->IsIconized())
        frame->Iconize(false);
    frame->Raise();
    if (!file.empty()) {
        m_arrHandedFiles.push_back(file);
        wxWakeUpIdle();
    }
}

void CCorvaneShell::OnFrameIdle(wxIdleEvent& event) {
    event.Skip();
    // Never under an open dialog: an editor may hold one of the project's records,
    // and a save prompt may be asking already.
    if (m_pModalCount->IsOpen())
        return;
    if (m_bBackToFront) {
        m_bBackToFront = false;
        OfferToReadAgain();
    }
    if (m_arrHandedFiles.empty())
        return;
    const wxString file = m_arrHandedFiles.front();
    m_arrHandedFiles.pop_front();
    OpenDocumentFile(file);
    if (!m_arrHandedFiles.empty())
        event.RequestMore();
}

void CCorvaneShell::OnFrameActivate(wxActivateEvent& event) {
    event.Skip();
    // Only a return: the window's first activation follows its own start.
    if (!event.GetActive()) {
        m_bInBackground = true;
    } else if (m_bInBackground) {
        m_bInBackground = false;
        m_bBackToFront = true;
        wxWakeUpIdle();
    }
}

void CCorvaneShell::OfferToReadAgain() {
    // Once for each change: an operator who keeps the window's project is not asked
    // again until the file changes again (Save still asks before replacing it).
    const std::optional<CFileStamp> now = m_doc.ChangeOnDisk();
    if (!now || now == m_declinedStamp)
        return;
    m_declinedStamp = now;
    const bool modified = m_doc.IsModified();
    const wxString question =
        wxString::Format(modified ? _("%s has been changed by another program.\n\nRead it again "
                                      "and lose the changes made here?")
                                  : _("%s has been changed by another program.\n\nRead it again?"),
                         ShownTitle(m_doc));
    if (CDialogBase::ShowMessage(m_pFrame, question, corvane::kAppTitle,
                                 wxYES_NO | (modified ? wxNO_DEFAULT : 0) | wxICON_EXCLAMATION) == wxYES)
        ReadDocument(m_doc.GetPathName());
}

void CCorvaneShell::AddToRecentFileList(const std::string& path) {
    // Another window of the program may have changed the list since this one read it.
    m_recentFiles.ReadList(*m_pStore);
    m_recentFiles.Add(path);
    m_recentFiles.WriteList(*m_pStore);
    RefreshRecentFileMenu();
}

void CCorvaneShell::RefreshRecentFileMenu() {
    wxMenuBar* bar = m_pFrame ? m_pFrame->GetMenuBar() : nullptr;
    if (!bar)
        return;
    wxMenu* file = bar->GetMenu(0);
    for (int id = wxID_FILE1; id < wxID_FILE1 + kRecentFileCount; ++id)
        if (wxMenuItem* item = file->FindChildItem(id))
            file->Destroy(item);
    // The entries sit between the first two separators.
    std::size_t pos = 0;
    while (pos < file->GetMenuItemCount() && !file->FindItemByPosition(pos)->IsSeparator())
        ++pos;
    ++pos;
    if (m_recentFiles.GetCount() == 0) {
        file->Insert(pos, wxID_FILE1, _("Recent File"), corvane::GetCommandPrompt(wxID_FILE1))->Enable(false);
        return;
    }
    for (int i = 0; i < m_recentFiles.GetCount(); ++i)
        file->Insert(pos + static_cast<std::size_t>(i), wxID_FILE1 + i, RecentFileLabel(i, m_recentFiles[i]),
                     corvane::GetCommandPrompt(wxID_FILE1 + i));
}

void CCorvaneShell::OnCommand(wxCommandEvent& event) {
    const int id = event.GetId();
    if (id >= wxID_FILE1 && id < wxID_FILE1 + kRecentFileCount) {
        const int index = id - wxID_FILE1;
        if (index >= m_recentFiles.GetCount())
            return;
        const std::string path = m_recentFiles[index];
        if (OpenDocumentFile(PathToWx(path)) == OpenResult::failed) {
            m_recentFiles.ReadList(*m_pStore);
            m_recentFiles.Remove(path);
            m_recentFiles.WriteList(*m_pStore);
            RefreshRecentFileMenu();
        }
        return;
    }
    switch (id) {
    case wxID_NEW:
        OnFileNew();
        break;
    case wxID_OPEN: {
        wxString path;
        if (AskOpenFileName(path))
            OpenDocumentFile(path);
        break;
    }
    case wxID_SAVE:
        DoFileSave();
        break;
    case wxID_ABOUT:
        OnAbout();
        break;
    case ID_APP_EXIT:
        if (m_pFrame)
            m_pFrame->Close();
        break;
    default:
        event.Skip();
        break;
    }
}

void CCorvaneShell::OnFrameClose(wxCloseEvent& event) {
    if (event.CanVeto() && !SaveModified()) {
        event.Veto();
        return;
    }
    // The recent-file list is not written here: it was written at each change, and
    // writing it again could put an older list back over another window's.
    // Column widths go to the store now, while it is certain to exist.
    if (m_pFrame && m_pFrame->GetProfileView())
        m_pFrame->GetProfileView()->SaveColumnWidths();
    m_pFrame->Destroy();
}
