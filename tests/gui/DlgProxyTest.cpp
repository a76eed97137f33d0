#include "../common/DlgTestSupport.h"

#include "controls/ToolkitSymbol.h"
#include "dialogs/CDlgProxy.h"
#include "model/CCorvaneDoc.h"

using namespace dlgtest;

namespace {

class DlgProxyTest : public DialogTest {
protected:
    // What the toolkit draws for each character of the entry; 0 when it is readable.
    static unsigned MaskChar(wxTextCtrl* t) {
        static const auto visible = corvane::ToolkitSymbol<int (*)(void*)>("gtk_entry_get_visibility");
        static const auto mask = corvane::ToolkitSymbol<unsigned (*)(void*)>("gtk_entry_get_invisible_char");
        return visible(t->GetHandle()) ? 0 : mask(t->GetHandle());
    }
    CCorvaneDoc m_doc;
};

TEST_F(DlgProxyTest, DefaultRecordShowsDefaultsWithOkDisabledAndCancelKeepsIt) {
    const CProxySettings before = m_doc.m_proxy;
    CDlgProxy dlg(nullptr, &m_doc);
    const int rc = RunModal(dlg, [&] {
        EXPECT_EQ(Ctrl<wxChoice>(&dlg, CDlgProxy::kIdType)->GetStringSelection(), "NONE");
        EXPECT_EQ(Ctrl<wxTextCtrl>(&dlg, CDlgProxy::kIdPort)->GetValue(), "8190");
        EXPECT_TRUE(dlg.GetPasswordCtrl()->IsEmpty());
        EXPECT_FALSE(IsOkEnabled(&dlg));
        // Typing enables OK, but Cancel still writes nothing.
        Type(&dlg, CDlgProxy::kIdHost, "elsewhere");
        EXPECT_TRUE(IsOkEnabled(&dlg));
        Click(&dlg, wxID_CANCEL);
    });
    EXPECT_EQ(rc, wxID_CANCEL);
    EXPECT_EQ(m_doc.m_proxy, before);
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(DlgProxyTest, OkStoresTypedValuesCodeOfNameAndLeadingDigitsOfPort) {
    struct Case {
        int pos;
        std::int32_t code;
    };
    // Two entries whose codes differ from their positions; the whole table is ProxyTypeTable's test.
    for (const Case c : {Case{0, 4}, Case{3, 1}}) {
        CCorvaneDoc doc;
        doc.m_proxy.m_nType = 9; // no entry shown, so that every choice is a change
        CDlgProxy dlg(nullptr, &doc);
        RunModal(dlg, [&] {
            EXPECT_EQ(Ctrl<wxChoice>(&dlg, CDlgProxy::kIdType)->GetSelection(), wxNOT_FOUND);
            ChooseEntry(&dlg, CDlgProxy::kIdType, c.pos);
            EXPECT_TRUE(IsOkEnabled(&dlg));
            Click(&dlg, wxID_OK);
        });
        EXPECT_EQ(doc.m_proxy.m_nType, c.code) << "list position " << c.pos;
    }

    // A type code the list does not know is kept when the type is left alone.
    m_doc.m_proxy.m_nType = 9;
    CDlgProxy dlg(nullptr, &m_doc);
    EXPECT_EQ(RunModal(dlg,
                       [&] {
                           Type(&dlg, CDlgProxy::kIdHost, " proxy.local ");
                           Type(&dlg, CDlgProxy::kIdUser, "");
                           Type(&dlg, CDlgProxy::kIdPassword, wxString(L"s\u00e9cret"));
                           // Pasted text can hold more than digits.
                           Type(&dlg, CDlgProxy::kIdPort, "3128x9", /*pasted=*/true);
                           Click(&dlg, wxID_OK);
                       }),
              wxID_OK);
    EXPECT_EQ(m_doc.m_proxy.m_strHost, " proxy.local ");
    EXPECT_EQ(m_doc.m_proxy.m_strUser, "");
    EXPECT_EQ(m_doc.m_proxy.m_strPassword, "s\xe9"
                                           "cret");
    EXPECT_EQ(m_doc.m_proxy.m_nPort, 3128);
    EXPECT_EQ(m_doc.m_proxy.m_nType, 9);
    // Marking the project modified is the caller's part.
    EXPECT_FALSE(m_doc.IsModified());

    CDlgProxy again(nullptr, &m_doc);
    RunModal(again, [&] {
        Type(&again, CDlgProxy::kIdPort, "");
        Click(&again, wxID_OK);
    });
    EXPECT_EQ(m_doc.m_proxy.m_nPort, 0);
}

TEST_F(DlgProxyTest, ShowPasswordUnmasksKeepsTextAndIsStored) {
    m_doc.m_proxy.m_strPassword = "pw";
    m_doc.m_proxy.m_bShowPassword = true;
    CDlgProxy dlg(nullptr, &m_doc);
    RunModal(dlg, [&] {
        // A stored flag shows the password readable from the start, OK still disabled.
        EXPECT_EQ(MaskChar(dlg.GetPasswordCtrl()), 0u);
        EXPECT_EQ(dlg.GetPasswordCtrl()->GetValue(), "pw");
        EXPECT_FALSE(IsOkEnabled(&dlg));
        Type(&dlg, CDlgProxy::kIdPassword, "pw2");
        testpump::RealClick(dlg.FindWindow(CDlgProxy::kIdShowPassword));
        EXPECT_EQ(MaskChar(dlg.GetPasswordCtrl()), unsigned('*'));
        EXPECT_EQ(dlg.GetPasswordCtrl()->GetValue(), "pw2");
        EXPECT_TRUE(IsOkEnabled(&dlg));
        Click(&dlg, wxID_OK);
    });
    EXPECT_EQ(m_doc.m_proxy.m_strPassword, "pw2");
    EXPECT_FALSE(m_doc.m_proxy.m_bShowPassword);
}

} // namespace
