// The About box: its texts fit, and the link carries the web address.
#include "DlgTestSupport.h"
#include "app/CAboutDialog.h"
#include "controls/CStaticLink.h"

#include <gtest/gtest.h>
#include <vector>
#include <wx/stattext.h>
#include <wx/uiaction.h>

namespace {

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

} // namespace

TEST(ShellAbout, EveryTextFitsAndTheLinkCarriesTheWebAddress) {
    CAboutDialog dlg(nullptr);
    const auto texts = StaticTexts(&dlg);
    ASSERT_GE(texts.size(), 2u);
    ASSERT_NE(dlg.GetLink(), nullptr);
    EXPECT_EQ(dlg.GetLink()->GetLink(), CAboutDialog::kWebAddress);
    // Every text fits: the box is at least as wide as its widest line.
    for (const wxString& t : texts)
        EXPECT_GE(dlg.GetClientSize().x, dlg.GetTextExtent(t).x);
    // Escape closes it as its only button does.
    EXPECT_EQ(dlgtest::RunModal(dlg,
                                [&] {
                                    testpump::PointAt(&dlg, wxPoint(20, 20));
                                    wxUIActionSimulator().Char(WXK_ESCAPE);
                                    testpump::PumpUntil([&] { return !dlg.IsModal(); },
                                                        std::chrono::seconds(3));
                                }),
              wxID_OK);
}
