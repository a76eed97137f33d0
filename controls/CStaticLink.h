#pragma once
// A line of text that works as a hyperlink: underlined blue, a hand pointer over
// it, opened by a click or by Space when it has the keyboard focus, purple once
// it has been opened. When nothing can be opened it only beeps.
#include <wx/control.h>

class CStaticLink : public wxControl {
public:
    static const wxColour kUnvisited; // (0, 0, 255)
    static const wxColour kVisited;   // (128, 0, 128)

    CStaticLink() = default;
    CStaticLink(wxWindow* parent, wxWindowID id, const wxString& label, const wxString& link = wxString(),
                const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize, long style = 0);
    bool Create(wxWindow* parent, wxWindowID id, const wxString& label, const wxString& link = wxString(),
                const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize, long style = 0);

    // What a click opens; when empty, the text shown is opened instead.
    void SetLink(const wxString& url) { m_strLink = url; }
    const wxString& GetLink() const { return m_strLink; }

    // Opens the link (or, failing that, the text shown) with the desktop's
    // default handler. True when something was opened; then the text turns
    // purple for the rest of the control's life. Otherwise a beep.
    bool OpenLink();

    bool IsVisited() const { return m_colour == kVisited; }
    wxColour GetLinkColour() const { return m_colour; }

    // The colour the link is drawn in over `background`: its own where it reads well (the
    // light themes it was chosen for), lightened step by step on a dark theme until it
    // reads as well as body text should (a contrast of 4.5 to 1).
    static wxColour ReadableOn(const wxColour& link, const wxColour& background);

    void SetLabel(const wxString& label) override;
    bool AcceptsFocus() const override { return true; }
    bool AcceptsFocusFromKeyboard() const override { return true; }

protected:
    // The desktop hand-off and the beep, separate so a test can watch them.
    virtual bool Launch(const wxString& target);
    virtual void Beep();

    wxSize DoGetBestClientSize() const override;

private:
    void OnPaint(wxPaintEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnChar(wxKeyEvent& event);
    void OnFocus(wxFocusEvent& event);
    wxFont LinkFont() const;

    wxString m_strLink;
    wxColour m_colour = kUnvisited;
};
