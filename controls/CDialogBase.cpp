#include "controls/CDialogBase.h"

#include "controls/ToolkitSymbol.h"
#include "controls/WxText.h"
#include "model/VisibleText.h"

#include <algorithm>
#include <limits>
#include <vector>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/msgdlg.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/spinbutt.h>
#include <wx/textctrl.h>
#include <wx/tooltip.h>

namespace {

// The controls inside `window` in Tab order: each before the controls inside it.
void CollectInTabOrder(wxWindow* window, std::vector<wxWindow*>& out) {
    for (wxWindow* child : window->GetChildren()) {
        if (child->IsTopLevel())
            continue;
        out.push_back(child);
        CollectInTabOrder(child, out);
    }
}

// A box round other controls passes the focus on to them.
bool TakesFocusItself(wxWindow* window) {
    if (!window->CanAcceptFocusFromKeyboard())
        return false;
    const wxWindowList& children = window->GetChildren();
    return std::none_of(children.begin(), children.end(), [](wxWindow* child) {
        return !child->IsTopLevel() && child->CanAcceptFocusFromKeyboard();
    });
}

// GTK hides the focus of a window until the keyboard is used in it, and a dialog
// inherits that from the window it was opened from: one opened with a click in a
// window never typed in would show no focus at all. A dialog is where the operator
// types next, so it shows where the typing goes from the start.
void ShowFocus(wxWindow* dialog) {
#ifdef __WXGTK__
    using SetFocusVisible = void (*)(void*, int);
    static const auto setFocusVisible =
        corvane::ToolkitSymbol<SetFocusVisible>("gtk_window_set_focus_visible");
    if (setFocusVisible && dialog->GetHandle())
        setFocusVisible(dialog->GetHandle(), 1);
#else
    (void)dialog;
#endif
}

} // namespace

CDialogBase::CDialogBase(wxWindow* parent, const wxString& title, OkAtOpen okAtOpen, long style)
    : wxDialog(parent, wxID_ANY, title, wxDefaultPosition, wxDefaultSize, style), m_okAtOpen(okAtOpen) {
    Bind(wxEVT_INIT_DIALOG, &CDialogBase::OnInitDialog, this);
}

std::int32_t CDialogBase::ReadLeadingNumber(const wxString& text) {
    std::int64_t value = 0;
    for (const wxUniChar ch : text) {
        if (ch < '0' || ch > '9')
            break;
        value = value * 10 + (ch.GetValue() - '0');
        if (value > std::numeric_limits<std::int32_t>::max())
            return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

wxString CDialogBase::FormatNumber(std::int32_t value) {
    return wxString::Format("%d", static_cast<int>(value));
}

int CDialogBase::ShowMessage(wxWindow* parent, const wxString& text, const wxString& caption, long style,
                             const ButtonLabels* labels) {
    if (!labels)
        return wxMessageBox(text, caption, style, parent);
    wxMessageDialog ask(parent, text, caption, style);
    ask.SetYesNoCancelLabels(labels->yes, labels->no, labels->cancel);
    switch (ask.ShowModal()) {
    case wxID_YES:
        return wxYES;
    case wxID_NO:
        return wxNO;
    default:
        return wxCANCEL;
    }
}

void CDialogBase::ShowInformation(wxWindow* parent, const wxString& text, const wxString& caption) {
    ShowMessage(parent, text, wxGetTranslation(caption), wxOK | wxICON_INFORMATION);
}

void CDialogBase::ShowError(wxWindow* parent, const wxString& text) {
    ShowMessage(parent, text, wxGetTranslation(kCaptionError), wxOK | wxICON_ERROR);
}

void CDialogBase::ShowWarning(wxWindow* parent, const wxString& text) {
    ShowMessage(parent, text, wxTheApp->GetAppDisplayName(), wxOK | wxICON_EXCLAMATION);
}

bool CDialogBase::AskYesNo(wxWindow* parent, const wxString& text) {
    return ShowMessage(parent, text, wxGetTranslation(kCaptionQuestion), wxYES_NO | wxICON_QUESTION) == wxYES;
}

wxString CDialogBase::CannotHoldText(const wxString& field, wxUniChar unheld) {
    return wxString::Format(
        _("%s: the character \"%s\" (U+%04X) cannot be stored. Only the characters of the "
          "Windows-1252 code page (Western European) can be used."),
        field, wxString(unheld), static_cast<unsigned>(unheld.GetValue()));
}

wxString CDialogBase::ControlCharacterText(const wxString& field, wxUniChar control) {
    return wxString::Format(
        _("%s: control characters such as line breaks and tabs cannot be used (U+%04X was "
          "found). The text goes to a server, where such a character would end a command."),
        field, static_cast<unsigned>(control.GetValue()));
}

wxString CDialogBase::RefusalOf(const wxString& field, const wxString& text, std::string& out) {
    wxUniChar unheld;
    if (!FromWxExact(text, out, unheld))
        return CannotHoldText(field, unheld);
    if (const std::size_t at = corvane::FindControlCharacter(out); at != std::string::npos)
        return ControlCharacterText(field, static_cast<unsigned char>(out[at]));
    return {};
}

bool CDialogBase::ToCodePage(wxWindow* parent, const wxString& field, const wxString& text,
                             std::string& out) {
    const wxString refusal = RefusalOf(field, text, out);
    if (refusal.empty())
        return true;
    ShowInformation(parent, refusal, kCaptionInformation);
    return false;
}

bool CDialogBase::StoreTyped(wxWindow* parent, std::initializer_list<TypedText> texts) {
    std::vector<std::string> bytes(texts.size());
    auto out = bytes.begin();
    for (const TypedText& t : texts)
        if (!ToCodePage(parent, wxGetTranslation(t.field), t.text, *out++))
            return false;
    out = bytes.begin();
    for (const TypedText& t : texts)
        *t.target = std::move(*out++);
    return true;
}

wxSizer* CDialogBase::CreateButtonRow() {
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->AddStretchSpacer();
    row->Add(CreateOkButton(this), 0, wxRIGHT, FromDIP(8));
    row->Add(new wxButton(this, wxID_CANCEL, _("Cancel")));
    return row;
}

wxButton* CDialogBase::CreateOkButton(wxWindow* parent, const wxSize& size) {
    m_pOK = new wxButton(parent, wxID_OK, "OK", wxDefaultPosition, size);
    m_pOK->SetDefault();
    return m_pOK;
}

void CDialogBase::EnableOkOnChange(std::initializer_list<wxWindow*> controls) {
    auto changed = [this](wxEvent& event) {
        MarkChanged();
        event.Skip();
    };
    for (wxWindow* w : controls) {
        if (dynamic_cast<wxTextCtrl*>(w))
            w->Bind(wxEVT_TEXT, changed);
        else if (dynamic_cast<wxCheckBox*>(w))
            w->Bind(wxEVT_CHECKBOX, changed);
        else if (dynamic_cast<wxRadioButton*>(w))
            w->Bind(wxEVT_RADIOBUTTON, changed);
        else if (dynamic_cast<wxChoice*>(w))
            w->Bind(wxEVT_CHOICE, changed);
        else if (dynamic_cast<wxSlider*>(w))
            w->Bind(wxEVT_SLIDER, changed);
        else if (dynamic_cast<wxSpinButton*>(w)) {
            w->Bind(wxEVT_SPIN_UP, changed);
            w->Bind(wxEVT_SPIN_DOWN, changed);
        } else
            wxFAIL_MSG("no change event known for this control");
    }
}

void CDialogBase::MarkChanged() {
    if (m_pOK)
        m_pOK->Enable();
}

void CDialogBase::PressButton(int buttonId) {
    wxWindow* button = FindWindow(buttonId);
    if (!button || !button->IsEnabled())
        return;
    wxCommandEvent ev(wxEVT_BUTTON, buttonId);
    ev.SetEventObject(button);
    button->ProcessWindowEvent(ev);
}

void CDialogBase::PressOnKey(wxWindow* control, int key, int buttonId) {
    auto plain = [](int code) {
        switch (code) {
        case WXK_NUMPAD_ENTER:
            return int(WXK_RETURN);
        case WXK_NUMPAD_DELETE:
            return int(WXK_DELETE);
        default:
            return code;
        }
    };
    // The dialog sees the key before the control and before the native handling that
    // would press the default button.
    Bind(wxEVT_CHAR_HOOK, [=, this](wxKeyEvent& ev) {
        wxWindow* focus = FindFocus();
        if (plain(ev.GetKeyCode()) == plain(key) && ev.GetModifiers() == wxMOD_NONE && focus &&
            (focus == control || control->IsDescendant(focus)))
            PressButton(buttonId);
        else
            ev.Skip();
    });
}

void CDialogBase::OnInitDialog(wxInitDialogEvent& event) {
    // Whatever filling the controls raised, the dialog opens with nothing to confirm.
    // Showing a shown dialog modally initialises it again; that is not an opening.
    if (!m_bOpened) {
        CloseOpenerToolTip();
        if (m_pOK && m_okAtOpen == OkAtOpen::disabled)
            m_pOK->Disable();
        FocusAtOpen();
    }
    m_bOpened = true;
    event.Skip();
}

void CDialogBase::CloseOpenerToolTip() {
    // The control that opened the dialog still has the focus and the pointer over it, and
    // the toolkit would show its tip over the dialog again and again. The tip is taken
    // away while the dialog is open.
    wxWindow* opener = FindFocus();
    if (!opener || opener == this || IsDescendant(opener) || !opener->GetToolTip())
        return;
    m_strOpenerTip = opener->GetToolTipText();
    m_pTipOpener = opener;
    opener->UnsetToolTip();
}

void CDialogBase::RestoreOpenerToolTip() {
    if (m_pTipOpener)
        m_pTipOpener->SetToolTip(m_strOpenerTip);
    m_pTipOpener = nullptr;
}

void CDialogBase::EndModal(int retCode) {
    RestoreOpenerToolTip();
    wxDialog::EndModal(retCode);
}

CDialogBase::~CDialogBase() {
    RestoreOpenerToolTip();
}

void CDialogBase::ReturnFocusTo(wxWindow* control) {
    if (control && control->IsEnabled() && control->IsShownOnScreen())
        control->SetFocus();
    ShowFocus(this);
}

void CDialogBase::FocusAtOpen() {
    // wx calls the handler bound last first, so a dialog's own initialisation has run
    // by now and may have disabled the control asked for (a field that cannot be
    // changed in this use of the dialog).
    std::vector<wxWindow*> order;
    CollectInTabOrder(this, order);
    auto from = std::find(order.begin(), order.end(), m_pInitialFocus);
    if (from == order.end())
        from = order.begin();
    const auto to = std::find_if(from, order.end(), TakesFocusItself);
    if (to != order.end())
        (*to)->SetFocus();
    ShowFocus(this);
}
