// The About box: its texts fit, and the link carries the web address.
#include "DlgTestSupport.h"
#include "app/CAboutDialog.h"
#include "controls/CStaticLink.h"

#include <gtest/gtest.h>
#include <vector>
#include <wx/stattext.h>

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
    int result = 0;
    wxTEST_DIALOG(result = dlg.ShowModal(), wxExpectDismissableModal<CAboutDialog>(wxID_OK));
    EXPECT_EQ(result, wxID_OK);
}
