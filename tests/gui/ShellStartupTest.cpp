// Start-up, the recent-file list and the file commands, driven through the same
// start-up routine the program runs, without its message loop.
#include "../common/ShellTestSupport.h"
#include "app/CAboutDialog.h"
#include "app/CCorvaneShell.h"
#include "app/CommandIds.h"
#include "platform/CSettingsStore.h"

#include <sys/stat.h>
#include <wx/dnd.h>
#include <wx/stattext.h>

using namespace shelltest;

namespace {

class ShellStartup : public dlgtest::DialogTest {
protected:
    TempDir m_dir;
    std::string StorePath() const { return m_dir / "Corvane.conf"; }
};

// A file dialog expected and cancelled, noting the folder and name it opens with.
dlgtest::CExpectDialog<wxFileDialog> CancelFileDialog(wxString& folder, wxString& name) {
    return dlgtest::CExpectDialog<wxFileDialog>([&folder, &name](wxFileDialog* dlg) {
        folder = dlg->GetDirectory();
        name = dlg->GetFilename();
        return wxID_CANCEL;
    });
}

std::vector<wxString> StaticTexts(wxWindow* root) {
    std::vector<wxString> texts;
    for (wxWindow* child : root->GetChildren()) {
        if (auto* text = dynamic_cast<wxStaticText*>(child))
            texts.push_back(text->GetLabel());
        for (const wxString& t : StaticTexts(child))
            texts.push_back(t);
    }
    return texts;
}

wxMenu* FileMenu(CCorvaneShell& shell) {
    return shell.GetMainFrame()->GetMenuBar()->GetMenu(0);
}

// A menu command as the main window receives it, and what follows it.
void Command(CCorvaneShell& shell, int id) {
    wxCommandEvent event(wxEVT_MENU, id);
    shell.GetMainFrame()->ProcessWindowEvent(event);
    testpump::Pump();
}

} // namespace

// A damaged project opened later is replaced by a new one, which the window shows.
TEST_F(ShellStartup, ProjectArgumentOpensAndADamagedOneOpenedLaterLeavesANewProject) {
    WriteProject(m_dir / "sites.dix", 3);
    const std::string bytes = WriteProject(m_dir / "cut.dix", 3);
    WriteBytes(m_dir / "cut.dix", bytes.substr(0, bytes.size() - 7));
    CCorvaneShell shell(StorePath());
    ASSERT_TRUE(shell.InitInstance({"corvane", wxString::FromUTF8(m_dir / "sites.dix")}));
    CCorvaneView* view = shell.GetMainFrame()->GetProfileView();
    EXPECT_EQ(shell.GetMainFrame()->GetTitle(), "sites.dix - Corvane");
    EXPECT_EQ(view->GetItemCount(), 3);
    EXPECT_TRUE(shell.GetSettings().GetProfileString("Project", "CfgPath").empty());

    view->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    CCorvaneShell::OpenResult result{};
    wxTEST_DIALOG(result = shell.OpenDocumentFile(wxString::FromUTF8(m_dir / "cut.dix")),
                  wxExpectModal<wxMessageDialog>(wxID_OK));
    EXPECT_EQ(result, CCorvaneShell::OpenResult::failed);
    EXPECT_EQ(view->GetItemCount(), 0);
    EXPECT_EQ(view->GetSelectionMark(), -1);
    EXPECT_EQ(shell.GetMainFrame()->GetTitle(), "Untitled - Corvane");
}

// The window cannot show them and a save leaves them out, so the operator is told.
TEST_F(ShellStartup, BytesAfterTheProjectAreNamedWhenItOpens) {
    WriteBytes(m_dir / "tail.dix", WriteProject(m_dir / "tail.dix", 2) + "tail");
    CCorvaneShell shell(StorePath());
    bool started = false;
    wxTEST_DIALOG(started = shell.InitInstance({"corvane", wxString::FromUTF8(m_dir / "tail.dix")}),
                  dlgtest::CExpectMessage(wxID_OK,
                                          "tail.dix ends with 4 bytes that are not part of the project. "
                                          "Saving the project leaves them out.",
                                          wxTheApp->GetAppDisplayName(), wxICON_EXCLAMATION));
    EXPECT_TRUE(started);
    EXPECT_EQ(shell.GetMainFrame()->GetProfileView()->GetItemCount(), 2);
}

TEST_F(ShellStartup, UnreadableProjectArgumentEndsStartupAfterTheError) {
    const std::string bytes = WriteProject(m_dir / "cut.dix", 2);
    WriteBytes(m_dir / "cut.dix", bytes.substr(0, bytes.size() / 2));
    for (const auto& [file, box] :
         {std::pair{"cut.dix", "format error"}, std::pair{"missing.dix", "cannot open"}}) {
        {
            CCorvaneShell shell(StorePath());
            bool started = true;
            wxTEST_DIALOG(started = shell.InitInstance({"corvane", wxString::FromUTF8(m_dir / file)}),
                          wxExpectModal<wxMessageDialog>(wxID_OK).Describe(box));
            EXPECT_FALSE(started);
            EXPECT_EQ(shell.GetMainFrame(), nullptr);
            EXPECT_EQ(shell.GetRecentFiles().GetCount(), 0);
        }
        // The new project that stood in for it on the way to the error published nothing.
        EXPECT_EQ(CSettingsStore(StorePath()).GetProfileString("Project", "CfgPath", "none"), "none");
    }
}

TEST_F(ShellStartup, WithoutArgumentShowsANewProjectAndRecentFilesKeepFourAcrossRuns) {
    // Both runs find their settings where the program looks by default.
    CEnvOverride config("XDG_CONFIG_HOME", m_dir.Path());
    CEnvOverride data("XDG_DATA_HOME", m_dir / "data");
    for (int i = 0; i < 6; ++i)
        WriteProject(m_dir / ("p" + std::to_string(i) + ".dix"), i);
    {
        CCorvaneShell first;
        ASSERT_TRUE(first.InitInstance({"corvane"}));
        EXPECT_EQ(first.GetMainFrame()->GetTitle(), "Untitled - Corvane");
        EXPECT_EQ(first.GetMainFrame()->GetProfileView()->GetItemCount(), 0);
        EXPECT_FALSE(first.GetSettings().GetProfileString("Project", "CfgPath").empty());
        // An empty recent-file list shows one grayed entry.
        ASSERT_NE(FileMenu(first)->FindItem(wxID_FILE1), nullptr);
        EXPECT_FALSE(FileMenu(first)->FindItem(wxID_FILE1)->IsEnabled());
        // Nothing goes into the data folder: registering is asked for, never done at start.
        testpump::Pump();
        EXPECT_FALSE(std::filesystem::exists(m_dir / "data"));
        for (int i = 0; i < 6; ++i)
            ASSERT_EQ(first.OpenDocumentFile(wxString::FromUTF8(m_dir / ("p" + std::to_string(i) + ".dix"))),
                      CCorvaneShell::OpenResult::opened);
        // Opening a listed file again moves it to the top instead of listing it twice.
        ASSERT_EQ(first.OpenDocumentFile(wxString::FromUTF8(m_dir / "p3.dix")),
                  CCorvaneShell::OpenResult::opened);
        EXPECT_EQ(first.GetRecentFiles().GetCount(), 4);
    }
    CCorvaneShell second;
    ASSERT_TRUE(second.InitInstance({"corvane"}));
    ASSERT_EQ(second.GetRecentFiles().GetCount(), 4);
    const char* expected[] = {"p3.dix", "p5.dix", "p4.dix", "p2.dix"};
    wxMenu* file = FileMenu(second);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(second.GetRecentFiles()[i], m_dir / expected[i]);
        wxMenuItem* item = file->FindItem(wxID_FILE1 + i);
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(item->IsEnabled());
        EXPECT_TRUE(item->GetItemLabel().StartsWith(wxString::Format("&%d ", i + 1)));
    }
    EXPECT_EQ(file->FindItem(wxID_FILE1 + 4), nullptr);
    // The entries sit between the Save item's separator and the one above Exit.
    EXPECT_EQ(file->FindItemByPosition(4)->GetId(), wxID_FILE1);

    // A listed project that has gone away is dropped from the list when chosen.
    std::filesystem::remove(m_dir / "p5.dix");
    wxTEST_DIALOG(Command(second, wxID_FILE2), wxExpectModal<wxMessageDialog>(wxID_OK));
    EXPECT_EQ(second.GetRecentFiles().GetCount(), 3);
    EXPECT_EQ(file->FindItem(wxID_FILE4), nullptr);
}

// What a new project resets and keeps is the document's own test; here, the save prompt
// before New, Open and a drop, and what the window shows afterwards.
TEST_F(ShellStartup, SavePromptCancelKeepsTheEditsYesSavesUnderAChosenNameFirst) {
    WriteProject(m_dir / "other.dix", 2);
    WriteProject(m_dir / "dropped.dix", 4);
    CCorvaneShell shell(StorePath());
    ASSERT_TRUE(shell.InitInstance({"corvane"}));
    CCorvaneDoc& doc = shell.GetDocument();
    CCorvaneView* view = shell.GetMainFrame()->GetProfileView();
    doc.m_arrProfiles.push_back(MakeProfile("kept"));
    doc.SetModifiedFlag();
    view->FillList();

    bool made = true;
    wxTEST_DIALOG(made = shell.OnFileNew(), dlgtest::CExpectMessage(wxID_CANCEL, "Save changes to Untitled?",
                                                                    "Corvane", wxICON_EXCLAMATION));
    EXPECT_FALSE(made);
    EXPECT_EQ(doc.m_arrProfiles.size(), 1u);

    // Cancelling the file dialog, which a new project opens at home, cancels the open as well.
    CCorvaneShell::OpenResult result{};
    wxString folder, name;
    wxTEST_DIALOG(result = shell.OpenDocumentFile(wxString::FromUTF8(m_dir / "other.dix")),
                  wxExpectModal<wxMessageDialog>(wxID_YES), CancelFileDialog(folder, name));
    EXPECT_EQ(result, CCorvaneShell::OpenResult::cancelled);
    EXPECT_EQ(folder, wxGetHomeDir());
    EXPECT_EQ(name, "Untitled.dix");
    EXPECT_EQ(doc.m_arrProfiles.size(), 1u);

    wxTEST_DIALOG(result = shell.OpenDocumentFile(wxString::FromUTF8(m_dir / "other.dix")),
                  wxExpectModal<wxMessageDialog>(wxID_YES),
                  wxExpectModal<wxFileDialog>(wxString::FromUTF8(m_dir / "first.dix")));
    EXPECT_EQ(result, CCorvaneShell::OpenResult::opened);
    EXPECT_TRUE(std::filesystem::exists(m_dir / "first.dix"));
    EXPECT_EQ(doc.m_arrProfiles.size(), 2u);
    EXPECT_EQ(shell.GetMainFrame()->GetTitle(), "other.dix - Corvane");
    ASSERT_EQ(shell.GetRecentFiles().GetCount(), 2);
    EXPECT_EQ(shell.GetRecentFiles()[1], m_dir / "first.dix");

    doc.SetModifiedFlag();
    view->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    wxTEST_DIALOG(made = shell.OnFileNew(), wxExpectModal<wxMessageDialog>(wxID_NO));
    EXPECT_TRUE(made);
    EXPECT_TRUE(doc.m_arrProfiles.empty());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(view->GetItemCount(), 0);
    EXPECT_EQ(view->GetSelectionMark(), -1);

    doc.SetModifiedFlag();
    auto* target = dynamic_cast<wxFileDropTarget*>(shell.GetMainFrame()->GetDropTarget());
    ASSERT_NE(target, nullptr);
    const wxString dropped = wxString::FromUTF8(m_dir / "dropped.dix");
    EXPECT_TRUE(target->OnDropFiles(10, 10, wxArrayString(1, &dropped)));
    wxTEST_DIALOG(testpump::Pump(), wxExpectModal<wxMessageDialog>(wxID_NO));
    EXPECT_EQ(doc.GetPathName(), m_dir / "dropped.dix");
    EXPECT_EQ(view->GetItemCount(), 4);
}

TEST_F(ShellStartup, ProjectThatCannotBeWrittenWhereItIsIsSavedUnderANewName) {
    const std::string readOnly = m_dir / "ro.dix";
    const std::string kept = WriteProject(readOnly, 1);
    ::chmod(readOnly.c_str(), 0444);
    const std::string sites = WriteProject(m_dir / "sites.dix", 3);
    CCorvaneShell shell(StorePath());
    ASSERT_TRUE(shell.InitInstance({"corvane", wxString::FromUTF8(readOnly)}));
    CCorvaneDoc& doc = shell.GetDocument();
    doc.m_arrProfiles.push_back(MakeProfile("added"));
    doc.SetModifiedFlag();

    // The file dialogs open in the project's folder.
    wxString folder, name;
    wxTEST_DIALOG(Command(shell, wxID_OPEN), CancelFileDialog(folder, name));
    EXPECT_EQ(folder, m_dir.Path().string());

    // The close box, Yes: the file is read-only, so a name is asked; Cancel there stays, edits and all.
    folder.clear();
    wxTEST_DIALOG(shell.GetMainFrame()->Close(), wxExpectModal<wxMessageDialog>(wxID_YES),
                  CancelFileDialog(folder, name));
    testpump::Pump();
    ASSERT_NE(shell.GetMainFrame(), nullptr);
    EXPECT_EQ(folder, m_dir.Path().string());
    EXPECT_EQ(name, "ro.dix");
    EXPECT_TRUE(doc.IsModified());

    // Exit, Yes: "sites" means sites.dix, which exists: No asks again; the read-only file is refused.
    wxTEST_DIALOG(Command(shell, ID_APP_EXIT), wxExpectModal<wxMessageDialog>(wxID_YES),
                  wxExpectModal<wxFileDialog>(wxString::FromUTF8(m_dir / "sites")),
                  dlgtest::CExpectMessage(wxID_NO, "sites.dix already exists.\nDo you want to replace it?",
                                          "Confirm Save As", wxICON_EXCLAMATION),
                  wxExpectModal<wxFileDialog>(wxString::FromUTF8(readOnly)),
                  dlgtest::CExpectMessage(wxID_OK, "", "Save As", wxICON_EXCLAMATION),
                  wxExpectModal<wxFileDialog>(wxString::FromUTF8(m_dir / "fresh")));
    EXPECT_EQ(shell.GetMainFrame(), nullptr);
    // The column widths were written on the way out.
    EXPECT_GT(shell.GetSettings().GetProfileInt("View", "w0", 0), 0);
    EXPECT_EQ(ReadBytes(m_dir / "sites.dix"), sites);
    EXPECT_EQ(ReadBytes(readOnly), kept);
    CCorvaneDoc fresh;
    std::string error;
    ASSERT_EQ(fresh.OnOpenDocument(m_dir / "fresh.dix", error), CCorvaneDoc::OpenResult::ok) << error;
    EXPECT_EQ(fresh.m_arrProfiles.size(), 2u);
}

// Another program wrote the file since it was opened. Coming back to the window offers
// to read it again, once for each change and refused by default over edits made here;
// Save asks before replacing that program's work.
TEST_F(ShellStartup, AFileAnotherProgramChangedIsOfferedAgainAndNotSavedOverUnasked) {
    const std::string path = m_dir / "p.dix";
    WriteProject(path, 1);
    CCorvaneShell shell(StorePath());
    ASSERT_TRUE(shell.InitInstance({"corvane", wxString::FromUTF8(path)}));
    CCorvaneDoc& doc = shell.GetDocument();
    const auto backToFront = [&] {
        for (const bool active : {false, true}) {
            wxActivateEvent event(wxEVT_ACTIVATE, active);
            shell.GetMainFrame()->ProcessWindowEvent(event);
        }
        testpump::Pump();
    };
    const auto readAgain = [](const wxString& end, int answer) {
        return dlgtest::CExpectMessage(answer, "p.dix has been changed by another program.\n\n" + end,
                                       "Corvane", wxICON_EXCLAMATION);
    };

    backToFront(); // unchanged: nothing is asked
    WriteProject(path, 3);
    wxTEST_DIALOG(backToFront(), readAgain("Read it again?", wxID_YES));
    EXPECT_EQ(doc.m_arrProfiles.size(), 3u);
    EXPECT_EQ(shell.GetMainFrame()->GetProfileView()->GetItemCount(), 3);
    EXPECT_FALSE(doc.IsModified());

    doc.m_arrProfiles.push_back(MakeProfile("mine"));
    doc.SetModifiedFlag();
    const std::string theirs = WriteProject(path, 2);
    wxTEST_DIALOG(backToFront(), readAgain("Read it again and lose the changes made here?", wxID_NO));
    backToFront(); // the same change is not asked about twice
    EXPECT_EQ(doc.m_arrProfiles.size(), 4u);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.ChangedOnDisk());

    const auto replace = [](const wxString& name, int answer) {
        return dlgtest::CExpectMessage(
            answer,
            name + " has been changed by another program since it was opened or saved "
                   "here.\n\nReplace it with the project shown in this window, or save "
                   "this project under another name?",
            "Corvane", wxICON_EXCLAMATION);
    };
    wxTEST_DIALOG(Command(shell, wxID_SAVE), replace("p.dix", wxID_CANCEL));
    EXPECT_EQ(ReadBytes(path), theirs);
    EXPECT_TRUE(doc.IsModified());

    wxTEST_DIALOG(Command(shell, wxID_SAVE), replace("p.dix", wxID_NO),
                  wxExpectModal<wxFileDialog>(wxString::FromUTF8(m_dir / "mine.dix")));
    EXPECT_EQ(ReadBytes(path), theirs);
    EXPECT_EQ(doc.GetPathName(), m_dir / "mine.dix");

    WriteProject(m_dir / "mine.dix", 5);
    doc.SetModifiedFlag();
    wxTEST_DIALOG(Command(shell, wxID_SAVE), replace("mine.dix", wxID_YES));
    CCorvaneDoc saved;
    std::string error;
    ASSERT_EQ(saved.OnOpenDocument(m_dir / "mine.dix", error), CCorvaneDoc::OpenResult::ok) << error;
    EXPECT_EQ(saved.m_arrProfiles.size(), 4u);
    EXPECT_FALSE(doc.ChangedOnDisk());
}

// A long path is shortened in the middle, keeping the file's name whole; an ampersand
// shows as itself instead of underlining the letter after it.
TEST_F(ShellStartup, ARecentFileLabelIsShortenedInTheMiddleAndShowsAmpersands) {
    const std::string folder = m_dir / "a folder with a rather long name/and one more level";
    std::filesystem::create_directories(folder);
    WriteProject(folder + "/R&D sites.dix", 1);
    CCorvaneShell shell(StorePath());
    ASSERT_TRUE(shell.InitInstance({"corvane", wxString::FromUTF8(folder + "/R&D sites.dix")}));
    ASSERT_NE(FileMenu(shell)->FindItem(wxID_FILE1), nullptr);
    const wxString label = FileMenu(shell)->FindItem(wxID_FILE1)->GetItemLabel();
    EXPECT_TRUE(label.StartsWith("&1 /")) << label;
    EXPECT_TRUE(label.EndsWith("/.../R&&D sites.dix")) << label;
    // "&1 ", at most 40 characters of path, and the doubled ampersand.
    EXPECT_LE(label.length(), 3u + 40u + 1u) << label;
}

// Help > About: every text of the box fits, and Escape closes it as its only button does.
TEST_F(ShellStartup, HelpAboutShowsTextsThatFitAndEscapeClosesIt) {
    CCorvaneShell shell(StorePath());
    ASSERT_TRUE(shell.InitInstance({"corvane"}));
    dlgtest::CDriveNested<CAboutDialog> about([](CAboutDialog* dlg) {
        const auto texts = StaticTexts(dlg);
        EXPECT_GE(texts.size(), 2u);
        for (const wxString& t : texts)
            EXPECT_GE(dlg->GetClientSize().x, dlg->GetTextExtent(t).x) << t;
        testpump::PointAt(dlg, wxPoint(20, 20));
        wxUIActionSimulator().Char(WXK_ESCAPE);
        testpump::PumpUntil([dlg] { return !dlg->IsModal(); }, std::chrono::seconds(3));
    });
    Command(shell, wxID_ABOUT);
    EXPECT_EQ(about.m_nRuns, 1);
}
