#include "../common/DlgTestSupport.h"

#include "controls/CIconListBox.h"
#include "dialogs/CDlgReports.h"
#include "model/CCorvaneDoc.h"

#include <wx/statbox.h>

using namespace dlgtest;

namespace {

class DlgReportsTest : public DialogTest {
protected:
    static void Choose(wxDialog& dlg, int entry) {
        auto* list = Ctrl<CIconListBox>(&dlg, CDlgReports::kIdChannels);
        ClickAt(list, list->GetItemRect(entry));
        ASSERT_EQ(list->GetCurSel(), entry);
    }
    static bool Checked(wxDialog& dlg, int id) { return Ctrl<wxCheckBox>(&dlg, id)->GetValue(); }
    static wxString Title(wxDialog& dlg) {
        return Ctrl<wxStaticBox>(&dlg, CDlgReports::kIdGroup)->GetLabel();
    }
    CCorvaneDoc m_doc;
};

TEST_F(DlgReportsTest, UnsavedStatesSurviveSwitchingAndReachTheDocumentOnlyOnOk) {
    m_doc.m_reports.m_bLogConflicts = false;
    for (const bool confirm : {false, true}) {
        const CReportSettings before = m_doc.m_reports;
        CDlgReports dlg(nullptr, &m_doc);
        RunModal(dlg, [&] {
            // Switching alone is no change.
            Choose(dlg, 1);
            Choose(dlg, 0);
            EXPECT_FALSE(IsOkEnabled(&dlg));
            SetCheck(&dlg, CDlgReports::kIdErrors, false);
            SetCheck(&dlg, CDlgReports::kIdSendEmpty, false);
            EXPECT_TRUE(IsOkEnabled(&dlg));

            Choose(dlg, 1);
            EXPECT_EQ(dlg.GetShownChannel(), CDlgReports::channelLog);
            EXPECT_EQ(Title(dlg), "Log");
            EXPECT_FALSE(Ctrl<wxCheckBox>(&dlg, CDlgReports::kIdSendEmpty)->IsShown());
            EXPECT_TRUE(Checked(dlg, CDlgReports::kIdErrors));
            EXPECT_FALSE(Checked(dlg, CDlgReports::kIdConflicts));
            SetCheck(&dlg, CDlgReports::kIdActions, false);

            Choose(dlg, 0);
            EXPECT_EQ(Title(dlg), "Mail");
            EXPECT_TRUE(Ctrl<wxCheckBox>(&dlg, CDlgReports::kIdSendEmpty)->IsShown());
            EXPECT_FALSE(Checked(dlg, CDlgReports::kIdErrors));
            EXPECT_FALSE(Checked(dlg, CDlgReports::kIdSendEmpty));
            EXPECT_TRUE(Checked(dlg, CDlgReports::kIdActions));

            Choose(dlg, 1);
            EXPECT_FALSE(Checked(dlg, CDlgReports::kIdActions));
            // OK with the log shown stores the log boxes as they stand too.
            SetCheck(&dlg, CDlgReports::kIdEnabled, false);
            Click(&dlg, confirm ? wxID_OK : wxID_CANCEL);
        });
        if (!confirm) {
            EXPECT_EQ(m_doc.m_reports, before);
            continue;
        }
        const CReportSettings& r = m_doc.m_reports;
        EXPECT_FALSE(r.m_bMailErrors);
        EXPECT_FALSE(r.m_bMailSendEmpty);
        EXPECT_TRUE(r.m_bMailEnabled && r.m_bMailNewFiles && r.m_bMailActions && r.m_bMailConflicts);
        EXPECT_FALSE(r.m_bLogActions);
        EXPECT_FALSE(r.m_bLogEnabled);
        EXPECT_FALSE(r.m_bLogConflicts);
        EXPECT_TRUE(r.m_bLogErrors && r.m_bLogNewFiles);
        EXPECT_FALSE(m_doc.IsModified()); // the caller marks it
    }
}

} // namespace
