#include "controls/CIconListBox.h"

#include "controls/FocusRect.h"

#include <algorithm>
#include <wx/dcbuffer.h>
#include <wx/dcclient.h>
#include <wx/settings.h>

namespace corvane {

namespace {
wxString ExpandTabs(const wxString& line) {
    wxString out;
    for (wxUniChar ch : line) {
        if (ch == '\t') {
            do
                out += ' ';
            while (out.length() % 8 != 0);
        } else {
            out += ch;
        }
    }
    return out;
}
} // namespace

std::vector<wxString> WrapTextLines(const wxDC& dc, const wxString& text, int width) {
    std::vector<wxString> lines;
    wxString normalised = text;
    normalised.Replace("\r\n", "\n");
    for (const wxString& paragraph : wxSplit(normalised, '\n', '\0')) {
        const wxString expanded = ExpandTabs(paragraph);
        if (width <= 0) {
            lines.push_back(expanded);
            continue;
        }
        wxString current;
        size_t pos = 0;
        while (pos < expanded.length()) {
            // A word with the blanks that precede it.
            size_t end = pos;
            while (end < expanded.length() && expanded[end] == ' ')
                ++end;
            while (end < expanded.length() && expanded[end] != ' ')
                ++end;
            const wxString piece = expanded.Mid(pos, end - pos);
            const wxString candidate = current + piece;
            if (!current.empty() && dc.GetTextExtent(candidate).x > width) {
                lines.push_back(current);
                current = piece.Strip(wxString::leading);
            } else {
                current = candidate;
            }
            pos = end;
        }
        lines.push_back(current);
    }
    if (lines.empty())
        lines.emplace_back();
    return lines;
}

} // namespace corvane

namespace {
int TextHeight(const wxDC& dc, const std::vector<wxString>& lines) {
    return static_cast<int>(lines.size()) * dc.GetCharHeight();
}
} // namespace

CIconListBox::CIconListBox(wxWindow* parent, wxWindowID id, bool sorted, const wxPoint& pos,
                           const wxSize& size, long style)
    : wxVListBox(parent, id, pos, size, style), m_bSorted(sorted) {
    Bind(wxEVT_SIZE, &CIconListBox::OnSize, this);
    Bind(wxEVT_PAINT, &CIconListBox::OnPaint, this);
    // The base redraws only the selected entry when the focus comes or goes; the
    // focus may be drawn elsewhere.
    auto refresh = [this](wxFocusEvent& event) {
        Refresh();
        event.Skip();
    };
    Bind(wxEVT_SET_FOCUS, refresh);
    Bind(wxEVT_KILL_FOCUS, refresh);
}

CIconListBox::~CIconListBox() {
    // Records go last entry first, before the window itself.
    while (!m_entries.empty())
        m_entries.pop_back();
}

void CIconListBox::SetImageList(wxImageList* pImageList) {
    m_pImageList = pImageList;
    m_imageSize = pImageList ? pImageList->GetSize() : wxSize(0, 0);
    RefreshAll();
}

int CIconListBox::AddString(const wxString& text, int image) {
    int index = GetCount();
    if (m_bSorted) {
        const auto it =
            std::upper_bound(m_entries.begin(), m_entries.end(), text,
                             [](const wxString& t, const CEntry& e) { return t.CmpNoCase(e.text) < 0; });
        index = static_cast<int>(it - m_entries.begin());
    }
    CEntry entry;
    entry.text = text;
    entry.record = std::make_unique<CItemRecord>();
    entry.record->image = image;
    m_entries.insert(m_entries.begin() + index, std::move(entry));
    SyncCount(index, -1);
    return index;
}

int CIconListBox::DeleteString(int index) {
    if (!IsValid(index))
        return LB_ERR;
    m_entries[index].record.reset();
    m_entries.erase(m_entries.begin() + index);
    SyncCount(-1, index);
    return GetCount();
}

int CIconListBox::SetItemData(int index, std::uint32_t value) {
    if (!IsValid(index))
        return LB_ERR;
    auto& record = m_entries[index].record;
    if (!record)
        record = std::make_unique<CItemRecord>();
    record->userValue = value;
    return 0;
}

std::int64_t CIconListBox::GetItemData(int index) const {
    if (!IsValid(index) || !m_entries[index].record)
        return -1;
    return m_entries[index].record->userValue;
}

int CIconListBox::GetItemImage(int index) const {
    if (!IsValid(index) || !m_entries[index].record)
        return -1;
    return m_entries[index].record->image;
}

void CIconListBox::ResetContent() {
    while (!m_entries.empty())
        m_entries.pop_back();
    SetItemCount(0);
    SetSelection(wxNOT_FOUND);
    RefreshAll();
}

wxString CIconListBox::GetText(int index) const {
    return IsValid(index) ? m_entries[index].text : wxString();
}

int CIconListBox::GetCurSel() const {
    return GetSelection();
}

int CIconListBox::SetCurSel(int index) {
    if (!IsValid(index)) {
        SetSelection(wxNOT_FOUND);
        return LB_ERR;
    }
    SetSelection(index);
    return index;
}

void CIconListBox::SyncCount(int insertedAt, int removedAt) {
    // The base class keeps the selection by position: keep it on the same entry.
    int sel = GetSelection();
    if (insertedAt >= 0 && sel >= insertedAt)
        ++sel;
    if (removedAt >= 0) {
        if (sel == removedAt)
            sel = wxNOT_FOUND;
        else if (sel > removedAt)
            --sel;
    }
    SetItemCount(m_entries.size());
    SetSelection(sel);
    RefreshAll();
}

void CIconListBox::OnSize(wxSizeEvent& event) {
    // Wrapped entries change height with the width.
    RefreshAll();
    event.Skip();
}

wxCoord CIconListBox::OnMeasureItem(size_t n) const {
    if (n >= m_entries.size())
        return 0;
    wxClientDC dc(const_cast<CIconListBox*>(this));
    dc.SetFont(GetFont());
    return EntryHeight(TextHeight(dc, corvane::WrapTextLines(dc, m_entries[n].text, GetClientSize().x)));
}

int CIconListBox::EntryHeight(int textHeight) const {
    if (m_pImageList && textHeight < m_imageSize.y + 4)
        textHeight = m_imageSize.y + 4;
    return textHeight + 4;
}

void CIconListBox::OnPaint(wxPaintEvent& event) {
    // The base draws entries only, so an empty list would show no focus.
    if (GetCount() > 0) {
        event.Skip();
        return;
    }
    wxAutoBufferedPaintDC dc(this);
    PaintEmpty(dc);
}

void CIconListBox::PaintEmpty(wxDC& dc) const {
    dc.SetBackground(wxBrush(GetBackgroundColour()));
    dc.Clear();
    if (HasFocus() && IsThisEnabled())
        DrawFocusDots(dc, wxRect(0, 0, GetClientSize().x, EntryHeight(GetCharHeight())),
                      wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT));
}

void CIconListBox::OnDrawBackground(wxDC&, const wxRect&, size_t) const {
    // The entry paints every pixel of its rectangle itself.
}

void CIconListBox::OnDrawItem(wxDC& dc, const wxRect& rect, size_t n) const {
    if (n >= m_entries.size() || !m_entries[n].record)
        return;
    const CEntry& entry = m_entries[n];
    const wxColour window = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW);
    const wxColour highlight = wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT);
    const wxColour windowText = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT);

    const bool selected = IsSelected(n);
    const bool disabled = !IsThisEnabled();
    // Without a current entry the next arrow key lands on the first one.
    const bool focused = HasFocus() && (IsCurrent(n) || (n == 0 && GetSelection() == wxNOT_FOUND));

    wxRect iconBox;
    if (m_pImageList)
        iconBox = wxRect(rect.x, rect.y, m_imageSize.x + 6, m_imageSize.y + 4);
    else
        iconBox = wxRect(rect.x, rect.y, 0, 0);
    const wxRect textColumn(iconBox.GetRight() + 1, rect.y, rect.GetRight() - iconBox.GetRight(),
                            rect.height);

    dc.SetFont(GetFont());
    const auto lines = corvane::WrapTextLines(dc, entry.text, textColumn.width);
    const int textHeight = TextHeight(dc, lines);
    wxRect textRect = textColumn;
    textRect.height = textHeight;
    textRect.y += (textColumn.height - textHeight) / 2;

    if (m_pImageList)
        DrawIconBackground(dc, wxRect(iconBox.x, iconBox.y, iconBox.width, rect.height), selected, disabled);

    wxColour text, background;
    if (disabled) {
        text = wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT);
        background = window;
    } else if (selected) {
        text = wxColour(~windowText.Red() & 0xFF, ~windowText.Green() & 0xFF, ~windowText.Blue() & 0xFF);
        background = highlight;
    } else {
        text = windowText;
        background = window;
    }
    DrawTextBackground(dc, textColumn, background);

    if (m_pImageList)
        DrawItemIcon(dc, wxPoint(iconBox.x + 3, iconBox.y + 2), entry.record->image, disabled);

    dc.SetTextForeground(text);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    int y = textRect.y;
    for (const wxString& line : lines) {
        dc.DrawText(line, textRect.x, y);
        y += dc.GetCharHeight();
    }

    if (focused && !disabled)
        DrawFocusDots(dc, rect, text);
}

void CIconListBox::DrawIconBackground(wxDC& dc, const wxRect& iconColumn, bool selected,
                                      bool disabled) const {
    const wxColour colour = selected && !disabled ? wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT)
                                                  : wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW);
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(colour));
    dc.DrawRectangle(iconColumn);
}

void CIconListBox::DrawTextBackground(wxDC& dc, const wxRect& textColumn, const wxColour& background) const {
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(background));
    dc.DrawRectangle(textColumn);
}

void CIconListBox::DrawItemIcon(wxDC& dc, const wxPoint& at, int image, bool disabled) const {
    if (!m_pImageList || image < 0 || image >= m_pImageList->GetImageCount())
        return;
    wxBitmap bitmap = m_pImageList->GetBitmap(image);
    if (!bitmap.IsOk())
        return;
    if (disabled)
        bitmap = bitmap.ConvertToDisabled();
    dc.DrawBitmap(bitmap, at, true);
}
