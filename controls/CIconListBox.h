#pragma once
// A list box that shows a small image in front of each entry's text and keeps
// one private record per entry: a 32-bit value free for the owner and the image
// index. Entries may wrap over several lines; each is at least as high as an
// image plus a margin. The keyboard focus is drawn round the current entry, or
// where the next arrow key lands when there is none: the first entry, or the first
// row of an empty list.
#include <cstdint>
#include <memory>
#include <vector>
#include <wx/imaglist.h>
#include <wx/vlbox.h>

class CIconListBox : public wxVListBox {
public:
    // Results of the operations that can fail, as a native list box reports them.
    static constexpr int LB_ERR = -1;
    static constexpr int LB_ERRSPACE = -2;

    // A sorted list places each new entry at its place in alphabetical order
    // (letter case ignored) instead of at the end.
    CIconListBox(wxWindow* parent, wxWindowID id = wxID_ANY, bool sorted = false,
                 const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize, long style = 0);
    ~CIconListBox() override;

    // Not owned; may be null. The image size is taken from it (0 x 0 for none).
    void SetImageList(wxImageList* pImageList);
    wxImageList* GetImageList() const { return m_pImageList; }

    // Index of the new entry, whose record has user value 0 and the image index.
    int AddString(const wxString& text, int image);
    // Number of entries left, or LB_ERR for an invalid index.
    int DeleteString(int index);
    // Stores the user value (creating the record with image 0 if the entry has
    // none). LB_ERR for an invalid index.
    int SetItemData(int index, std::uint32_t value);
    // The user value, or -1 for an invalid index or an entry without record.
    std::int64_t GetItemData(int index) const;
    // The entry's image index, or -1 for an invalid index or no record.
    int GetItemImage(int index) const;
    void ResetContent();

    int GetCount() const { return static_cast<int>(m_entries.size()); }
    // Empty for an invalid index.
    wxString GetText(int index) const;
    // -1 when nothing is selected.
    int GetCurSel() const;
    // -1 clears the selection. LB_ERR for an invalid index (or -1).
    int SetCurSel(int index);
    // Height of an entry as it is laid out now; 0 for an invalid index.
    int GetItemHeight(int index) const { return IsValid(index) ? OnMeasureItem(index) : 0; }

protected:
    // The drawing steps of an entry, in the order they are called.
    virtual void DrawTextBackground(wxDC& dc, const wxRect& textColumn, const wxColour& background) const;
    virtual void DrawIconBackground(wxDC& dc, const wxRect& iconColumn, bool selected, bool disabled) const;
    virtual void DrawItemIcon(wxDC& dc, const wxPoint& at, int image, bool disabled) const;

    // An empty list: its background, and the focus round its first row while it has it.
    void PaintEmpty(wxDC& dc) const;

    void OnDrawItem(wxDC& dc, const wxRect& rect, size_t n) const override;
    void OnDrawBackground(wxDC& dc, const wxRect& rect, size_t n) const override;
    wxCoord OnMeasureItem(size_t n) const override;

private:
    struct CItemRecord {
        std::uint32_t userValue = 0;
        int image = 0;
    };
    struct CEntry {
        wxString text;
        std::unique_ptr<CItemRecord> record;
    };

    bool IsValid(int index) const { return index >= 0 && index < GetCount(); }
    // Height of an entry whose text is `textHeight` high.
    int EntryHeight(int textHeight) const;
    void SyncCount(int insertedAt, int removedAt);
    void OnSize(wxSizeEvent& event);
    void OnPaint(wxPaintEvent& event);

    bool m_bSorted;
    wxImageList* m_pImageList = nullptr;
    wxSize m_imageSize;
    std::vector<CEntry> m_entries;
};

namespace corvane {
// Lines of text as it is drawn in a column of the given width: explicit line
// breaks kept, tabs expanded to stops every eight characters, and lines broken
// between words where they are wider than the column (a single word wider than
// the column stays whole). A width of 0 or less breaks only at line breaks.
std::vector<wxString> WrapTextLines(const wxDC& dc, const wxString& text, int width);
} // namespace corvane
