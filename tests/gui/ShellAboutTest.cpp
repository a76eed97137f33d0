// The About box: its texts fit, and Escape closes it as its only button does.
#include "../common/DlgTestSupport.h"
#include "app/CAboutDialog.h"

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

TEST(ShellAbout, EveryTextFitsAndEscapeClosesIt) {
    CAboutDialog dlg(nullptr);
    const auto texts = StaticTexts(&dlg);
    ASSERT_GE(texts.size(), 2u);
    // Every text fits: the box is at least as wide as its widest line.
    for (const wxString& t : texts)
        EXPECT_GE(dlg.GetClientSize().x, dlg.GetTextExtent(t).x);
    EXPECT_EQ(dlgtest::RunModal(dlg,
                                [&] {
                                    testpump::PointAt(&dlg, wxPoint(20, 20));
                                    wxUIActionSimulator().Char(WXK_ESCAPE);
                                    testpump::PumpUntil([&] { return !dlg.IsModal(); },
                                                        std::chrono::seconds(3));
                                }),
              wxID_OK);
}
