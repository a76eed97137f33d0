#pragma once
// CDialogBase: what the settings editors share. The OK/Cancel row and its OK button,
// which is disabled when the dialog opens and enabled at the first change the
// operator makes; how numbers are read from and shown in a text field; and the
// message boxes with the captions and icons the operator knows; and where the
// keyboard focus is, visibly, when the dialog opens.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <wx/dialog.h>
#include <wx/translation.h>
#include <wx/weakref.h>

class wxButton;
class wxSizer;

class CDialogBase : public wxDialog {
public:
    // Captions of the message boxes, the same in every dialog. They are the English texts:
    // the message boxes show their translations.
    static constexpr const char* kCaptionInformation = wxTRANSLATE("Information");
    static constexpr const char* kCaptionQuestion = wxTRANSLATE("Question");
    static constexpr const char* kCaptionError = wxTRANSLATE("Error");

    // A number typed into a field: its leading decimal digits; none gives 0. Values
    // beyond the 32-bit range saturate instead of wrapping.
    static std::int32_t ReadLeadingNumber(const wxString& text);
    // The field text of a stored number ("%d").
    static wxString FormatNumber(std::int32_t value);

    // Every message box of the program is shown here; the functions below are its
    // common forms. Returns the button chosen (wxOK, wxYES, wxNO or wxCANCEL).
    // `labels`, where given, names the Yes, No and Cancel buttons by what they do.
    struct ButtonLabels {
        wxString yes, no, cancel;
    };
    static int ShowMessage(wxWindow* parent, const wxString& text, const wxString& caption, long style,
                           const ButtonLabels* labels = nullptr);
    // Refusals and notices: OK button, information icon.
    static void ShowInformation(wxWindow* parent, const wxString& text, const wxString& caption);
    // Failures of a component: OK button, stop icon.
    static void ShowError(wxWindow* parent, const wxString& text);
    // Something the operator must know that is no fault of theirs (a missing part of
    // the installation): OK button, warning icon, the program's name as caption.
    static void ShowWarning(wxWindow* parent, const wxString& text);
    // Yes/No question with the question icon; true for Yes.
    static bool AskYesNo(wxWindow* parent, const wxString& text);

    // The project keeps code page bytes, so text with a character the code page has no
    // byte for is refused, never stored with a stand-in. The refusal names the field
    // (as its label reads) and the first such character.
    static wxString CannotHoldText(const wxString& field, wxUniChar unheld);
    // Nor may it hold a control character (a line break, tab, NUL, DEL): typed text goes to
    // a server, where such a character would end a command and start another.
    static wxString ControlCharacterText(const wxString& field, wxUniChar control);
    // Why `text` cannot be stored in `field` (its first refused character), or nothing;
    // `out` then holds its code page bytes.
    static wxString RefusalOf(const wxString& field, const wxString& text, std::string& out);
    // `text` as code page bytes in `out`; false after showing the refusal.
    static bool ToCodePage(wxWindow* parent, const wxString& field, const wxString& text, std::string& out);
    // One typed text bound for a record field.
    struct TypedText {
        const char* field; // in English (wxTRANSLATE): the refusal shows its translation
        wxString text;
        std::string* target;
    };
    // Stores all texts, or none when one is refused (the first is reported).
    static bool StoreTyped(wxWindow* parent, std::initializer_list<TypedText> texts);

    ~CDialogBase() override;
    // Gives the control that opened the dialog its tooltip back.
    void EndModal(int retCode) override;

protected:
    // Whether OK is enabled when the dialog opens: editors wait for a first change,
    // a list that is only browsed may be confirmed at once.
    enum class OkAtOpen { disabled, enabled };

    CDialogBase(wxWindow* parent, const wxString& title, OkAtOpen okAtOpen = OkAtOpen::disabled,
                long style = wxDEFAULT_DIALOG_STYLE);

    // The OK/Cancel row at the bottom right of the dialog.
    wxSizer* CreateButtonRow();
    // The default OK button alone, for a dialog that places it itself.
    wxButton* CreateOkButton(wxWindow* parent, const wxSize& size = wxDefaultSize);
    wxButton* GetOkButton() const { return m_pOK; }
    // Whether the dialog has opened: showing a shown dialog modally initialises it
    // again in wx, which a dialog's own initialisation must not repeat.
    bool HasOpened() const { return m_bOpened; }
    // After work started from `control` (a test, a box, a dialog over this one): the
    // keyboard is back on it, and the focus is shown.
    void ReturnFocusTo(wxWindow* control);

    // Calls MarkChanged when one of these controls changes (text, check box, radio
    // button, choice, slider, spin button).
    void EnableOkOnChange(std::initializer_list<wxWindow*> controls);
    // The operator changed something: enables OK.
    virtual void MarkChanged();

    // The control the dialog opens in: the first field the operator would edit. When it
    // cannot take the focus (disabled), the next one in Tab order that can takes it.
    // Without one, the dialog opens in the first control of its Tab order.
    void SetInitialFocus(wxWindow* control) { m_pInitialFocus = control; }

    // Runs button `buttonId` as a click on it does, with its questions and refusals;
    // nothing happens while the button is disabled.
    void PressButton(int buttonId);
    // `key` (or its keypad twin) pressed without modifiers while `control` or a part of
    // it has the focus presses button `buttonId` instead of reaching the control or the
    // dialog: Enter in a field adds what was typed rather than confirming the dialog
    // without it, Delete in a list removes the selected entry.
    void PressOnKey(wxWindow* control, int key, int buttonId);

private:
    void OnInitDialog(wxInitDialogEvent& event);
    void FocusAtOpen();
    void CloseOpenerToolTip();
    void RestoreOpenerToolTip();

    wxButton* m_pOK = nullptr;
    wxWindow* m_pInitialFocus = nullptr;
    OkAtOpen m_okAtOpen;
    bool m_bOpened = false;
    wxWeakRef<wxWindow> m_pTipOpener;
    wxString m_strOpenerTip;
};
