// The About box: its texts and the link that the box hands its address.
#include "DlgTestSupport.h"
#include "app/CAboutDialog.h"
#include "controls/CStaticLink.h"

#include <algorithm>
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

TEST(ShellAbout, ShowsVersionNoticeAndTheLinkInFull) {
    CAboutDialog dlg(nullptr);
    const auto texts = StaticTexts(&dlg);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Corvane Version 1.0.0.89"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), wxString::FromUTF8(CAboutDialog::kNoticeText)),
              texts.end());
    ASSERT_NE(dlg.GetLink(), nullptr);
    EXPECT_EQ(dlg.GetLink()->GetLink(), CAboutDialog::kWebAddress);
    // Every text fits: the box is at least as wide as its widest line.
    for (const wxString& t : texts)
        EXPECT_GE(dlg.GetClientSize().x, dlg.GetTextExtent(t).x);
    int result = 0;
    wxTEST_DIALOG(result = dlg.ShowModal(), wxExpectDismissableModal<CAboutDialog>(wxID_OK));
    EXPECT_EQ(result, wxID_OK);
}
