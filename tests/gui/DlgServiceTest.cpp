#include "DlgTestSupport.h"

#include "dialogs/CDlgService.h"
#include "model/CCorvaneDoc.h"

#include <wx/slider.h>
#include <wx/spinbutt.h>

using namespace dlgtest;

namespace {

class DlgServiceTest : public DialogTest {
protected:
    wxString Field(wxDialog& dlg) { return Ctrl<wxTextCtrl>(&dlg, CDlgService::kIdMinutes)->GetValue(); }
    int Slider(wxDialog& dlg) { return Ctrl<wxSlider>(&dlg, CDlgService::kIdSlider)->GetValue(); }
    // A real click on the up or down arrow (GTK raises no event at the ends of the
    // arrows' own range, which a synthetic event would hide). GTK 3 lays the arrows
    // side by side, "-" then "+", whatever the orientation asked for.
    void Arrow(wxDialog& dlg, bool up) {
        wxWindow* spin = Ctrl<wxSpinButton>(&dlg, CDlgService::kIdUpDown);
        const wxSize s = spin->GetSize();
        const bool across = s.x > s.y;
        const int near = (across ? s.x : s.y) / 4, far = (across ? s.x : s.y) - near;
        const int along = across ? (up ? far : near) : (up ? near : far);
        testpump::RealClick(spin, across ? wxPoint(along, s.y / 2) : wxPoint(s.x / 2, along));
    }
    // The slider moved with the keyboard, End or Home, after a click has put it there.
    void Slide(wxDialog& dlg, int key) {
        auto* slider = Ctrl<wxSlider>(&dlg, CDlgService::kIdSlider);
        testpump::RealClick(slider, wxPoint(slider->GetSize().x / 2, slider->GetSize().y / 2));
        wxUIActionSimulator().Char(key);
        const int end = key == WXK_END ? slider->GetMax() : slider->GetMin();
        ASSERT_TRUE(testpump::PumpUntil([&] { return slider->GetValue() == end; }, std::chrono::seconds(3)));
    }
    CCorvaneDoc m_doc;
};

TEST_F(DlgServiceTest, NewProjectStartsAtTenAndArrowsStayInStepWithSlider) {
    CDlgService dlg(nullptr, &m_doc);
    RunModal(dlg, [&] {
        EXPECT_EQ(Field(dlg), "10");
        EXPECT_EQ(Slider(dlg), 10);
        EXPECT_FALSE(IsOkEnabled(&dlg));
        // Down at the lower end stays at 10, but counts as a change.
        Arrow(dlg, false);
        EXPECT_EQ(Field(dlg), "10");
        EXPECT_EQ(Slider(dlg), 10);
        EXPECT_TRUE(IsOkEnabled(&dlg));
        Arrow(dlg, true);
        Arrow(dlg, true);
        EXPECT_EQ(Field(dlg), "12");
        EXPECT_EQ(Slider(dlg), 12);
        Slide(dlg, WXK_END);
        EXPECT_EQ(Field(dlg), "110");
        EXPECT_EQ(Ctrl<wxSpinButton>(&dlg, CDlgService::kIdUpDown)->GetValue(), 110);
        Arrow(dlg, true);
        EXPECT_EQ(Field(dlg), "110");
        Arrow(dlg, false);
        EXPECT_EQ(Field(dlg), "109");
        EXPECT_EQ(Slider(dlg), 109);
        Click(&dlg, wxID_OK);
    });
    EXPECT_EQ(m_doc.m_nInterval, 109);
    EXPECT_FALSE(m_doc.IsModified()); // the caller marks it
}

TEST_F(DlgServiceTest, StoredValueOutsideRangeShownAsStoredAndClampedOnChange) {
    for (const auto& row : {std::tuple{5, true, 11}, std::tuple{5, false, 10}, std::tuple{300, false, 109}}) {
        // Plain names, not a structured binding: the lambda below captures them (clang 14 cannot).
        const int stored = std::get<0>(row);
        const bool arrowUp = std::get<1>(row);
        const int expected = std::get<2>(row);
        m_doc.m_nInterval = stored;
        m_doc.m_bIntervalConfirmed = false;
        CDlgService dlg(nullptr, &m_doc);
        RunModal(dlg, [&] {
            EXPECT_EQ(Field(dlg), wxString::Format("%d", stored));
            EXPECT_EQ(Slider(dlg), stored < 10 ? 10 : 110);
            EXPECT_FALSE(IsOkEnabled(&dlg));
            Arrow(dlg, arrowUp);
            EXPECT_EQ(Field(dlg), wxString::Format("%d", expected));
            EXPECT_EQ(Slider(dlg), expected);
            Click(&dlg, wxID_OK);
        });
        EXPECT_EQ(m_doc.m_nInterval, expected);
        EXPECT_TRUE(m_doc.m_bIntervalConfirmed);
    }
}

TEST_F(DlgServiceTest, CancelAfterMovingLeavesIntervalAndFlag) {
    m_doc.m_nInterval = 42;
    m_doc.m_bIntervalConfirmed = false;
    CDlgService dlg(nullptr, &m_doc);
    EXPECT_EQ(RunModal(dlg,
                       [&] {
                           Slide(dlg, WXK_END);
                           EXPECT_EQ(Field(dlg), "110");
                           Click(&dlg, wxID_CANCEL);
                       }),
              wxID_CANCEL);
    EXPECT_EQ(m_doc.m_nInterval, 42);
    EXPECT_FALSE(m_doc.m_bIntervalConfirmed);
}

} // namespace
