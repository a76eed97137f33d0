#include "../common/DlgTestSupport.h"

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

// A stored value outside the range shows as stored and is clamped on change; Cancel
// leaves the value and the flag as they were.
TEST_F(DlgServiceTest, StoredValueOutsideRangeShownAsStoredAndClampedOnChange) {
    struct Case {
        int stored;
        bool up;
        int shown;
        bool confirm;
    };
    for (const Case& c : {Case{5, true, 11, true}, Case{5, false, 10, true}, Case{300, false, 109, true},
                          Case{42, true, 43, false}}) {
        m_doc.m_nInterval = c.stored;
        m_doc.m_bIntervalConfirmed = false;
        CDlgService dlg(nullptr, &m_doc);
        RunModal(dlg, [&] {
            EXPECT_EQ(Field(dlg), wxString::Format("%d", c.stored));
            EXPECT_EQ(Slider(dlg), std::clamp(c.stored, 10, 110));
            EXPECT_FALSE(IsOkEnabled(&dlg));
            Arrow(dlg, c.up);
            EXPECT_EQ(Field(dlg), wxString::Format("%d", c.shown));
            EXPECT_EQ(Slider(dlg), c.shown);
            Click(&dlg, c.confirm ? wxID_OK : wxID_CANCEL);
        });
        EXPECT_EQ(m_doc.m_nInterval, c.confirm ? c.shown : c.stored);
        EXPECT_EQ(m_doc.m_bIntervalConfirmed, c.confirm);
    }
}

} // namespace
