#include "../common/DlgTestSupport.h"

#include "dialogs/CDlgMasks.h"

#include <wx/listctrl.h>

using namespace dlgtest;

namespace {

class DlgMasksTest : public DialogTest {
protected:
    static wxListCtrl* List(wxDialog& dlg) { return Ctrl<wxListCtrl>(&dlg, CDlgMasks::kIdList); }
    static wxString Cell(wxDialog& dlg, long row, int col) { return List(dlg)->GetItemText(row, col); }
    static void SelectRow(CDlgMasks& dlg, long row) {
        wxRect rect;
        ASSERT_TRUE(List(dlg)->GetItemRect(row, rect));
        ClickAt(List(dlg), rect);
        ASSERT_EQ(dlg.GetSelectionMark(), row);
    }
    static void AddMask(wxDialog& dlg, const wxString& text) {
        Type(&dlg, CDlgMasks::kIdMask, text);
        Click(&dlg, CDlgMasks::kIdAdd);
    }
};

// Blank text adds nothing; trimmed text is added.
TEST_F(DlgMasksTest, BlankTextAddsNothingAndTrimmedTextIsAddedWithTheFlags) {
    std::vector<CFileMask> masks;
    CDlgMasks dlg(nullptr, &masks);
    RunModal(dlg, [&] {
        AddMask(dlg, "   ");
        AddMask(dlg, "");
        EXPECT_EQ(List(dlg)->GetItemCount(), 0);
        EXPECT_FALSE(IsOkEnabled(&dlg));
        // With nothing selected the box only sets the flag of the next mask.
        SetCheck(&dlg, CDlgMasks::kIdUpload, true);
        EXPECT_FALSE(IsOkEnabled(&dlg));
        AddMask(dlg, "  *.bak\t ");
        ASSERT_EQ(List(dlg)->GetItemCount(), 1);
        EXPECT_EQ(Cell(dlg, 0, 0), "*.bak");
        EXPECT_EQ(Cell(dlg, 0, 1), "No");
        EXPECT_EQ(Cell(dlg, 0, 2), "Yes");
        EXPECT_TRUE(IsOkEnabled(&dlg));
        // The text and boxes stay for the next Add; duplicates are accepted.
        EXPECT_EQ(Ctrl<wxTextCtrl>(&dlg, CDlgMasks::kIdMask)->GetValue(), "  *.bak\t ");
        Click(&dlg, CDlgMasks::kIdAdd);
        Click(&dlg, wxID_OK);
    });
    ASSERT_EQ(masks.size(), 2u);
    EXPECT_EQ(masks[0], (CFileMask{"*.bak", true, false}));
    EXPECT_EQ(masks[1], (CFileMask{"*.bak", true, false}));
}

// The first mask takes the boxes as they stand, so one for neither direction is easy to
// make; the list says it excludes nothing until a box is ticked for it.
TEST_F(DlgMasksTest, AMaskForNeitherDirectionSaysItExcludesNothing) {
    std::vector<CFileMask> masks{{"*.log", false, false}};
    CDlgMasks dlg(nullptr, &masks);
    RunModal(dlg, [&] {
        EXPECT_EQ(Cell(dlg, 0, 0), "*.log (excludes nothing)");
        AddMask(dlg, "*.tmp");
        EXPECT_EQ(Cell(dlg, 1, 0), "*.tmp (excludes nothing)");
        SelectRow(dlg, 1);
        SetCheck(&dlg, CDlgMasks::kIdDownload, true);
        EXPECT_EQ(Cell(dlg, 1, 0), "*.tmp");
        Click(&dlg, wxID_OK);
    });
    ASSERT_EQ(masks.size(), 2u);
    EXPECT_EQ(masks[0], (CFileMask{"*.log", false, false}));
    EXPECT_EQ(masks[1], (CFileMask{"*.tmp", false, true}));
}

// Cancel after the same changes leaves the masks as they were.
TEST_F(DlgMasksTest, DeleteThenAddKeepsSurvivorsInOrderThenAdded) {
    const std::vector<CFileMask> before{{"a", true, false}, {"b", false, true}, {"c", true, true}};
    for (const bool confirm : {false, true}) {
        std::vector<CFileMask> masks = before;
        CDlgMasks dlg(nullptr, &masks);
        RunModal(dlg, [&] {
            ASSERT_EQ(List(dlg)->GetItemCount(), 3);
            EXPECT_EQ(Cell(dlg, 1, 0), "b");
            EXPECT_EQ(Cell(dlg, 1, 1), "Yes");
            EXPECT_EQ(Cell(dlg, 1, 2), "No");
            SelectRow(dlg, 0);
            Click(&dlg, CDlgMasks::kIdDelete);
            EXPECT_EQ(dlg.GetSelectionMark(), -1);
            // Rows keep pointing at their masks after a row above them went away.
            SelectRow(dlg, 0);
            EXPECT_EQ(Ctrl<wxTextCtrl>(&dlg, CDlgMasks::kIdMask)->GetValue(), "b");
            EXPECT_FALSE(Ctrl<wxCheckBox>(&dlg, CDlgMasks::kIdUpload)->GetValue());
            EXPECT_TRUE(Ctrl<wxCheckBox>(&dlg, CDlgMasks::kIdDownload)->GetValue());
            SetCheck(&dlg, CDlgMasks::kIdUpload, true);
            EXPECT_EQ(Cell(dlg, 0, 2), "Yes");
            Click(&dlg, CDlgMasks::kIdDelete);
            AddMask(dlg, "d");
            SelectRow(dlg, 0); // "c"
            SetCheck(&dlg, CDlgMasks::kIdDownload, false);
            Click(&dlg, confirm ? wxID_OK : wxID_CANCEL);
        });
        if (!confirm) {
            EXPECT_EQ(masks, before);
            continue;
        }
        ASSERT_EQ(masks.size(), 2u);
        EXPECT_EQ(masks[0], (CFileMask{"c", true, false}));
        // "d" took the boxes as they stood when it was added: those of "b".
        EXPECT_EQ(masks[1], (CFileMask{"d", true, true}));
    }
}

} // namespace
