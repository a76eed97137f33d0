#pragma once
// Helpers for driving the settings editors: a dialog runs its real modal loop while a
// queued body works its controls through the same events a user's input raises.
#include "RealClick.h"
#include "controls/CDialogBase.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/clipbrd.h>
#include <wx/dialog.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/radiobut.h>
#include <wx/testing.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

namespace dlgtest {

template <class T> T* Ctrl(wxWindow* dlg, int id) {
    T* w = dynamic_cast<T*>(dlg->FindWindow(id));
    EXPECT_NE(w, nullptr) << "no control " << id;
    return w;
}

inline void Click(wxWindow* dlg, int id) {
    wxWindow* b = dlg->FindWindow(id);
    ASSERT_NE(b, nullptr) << "no button " << id;
    ASSERT_TRUE(b->IsEnabled()) << "button " << id << " is disabled";
    wxCommandEvent ev(wxEVT_BUTTON, id);
    ev.SetEventObject(b);
    b->ProcessWindowEvent(ev);
}

// A real click on the middle of `rect`, given in `window`'s client coordinates (an
// entry of a list, say).
inline void ClickAt(wxWindow* window, const wxRect& rect) {
    wxPoint at = testpump::MiddleOf(window, rect);
    // A second click on the spot of the first one would make a double click.
    if (wxGetMousePosition() == window->GetScreenPosition() + at)
        at.x += rect.width / 4;
    testpump::RealClick(window, at);
}

// Sets a check box or radio button as a person does: a click, only when it differs.
template <class T> void ClickTo(wxWindow* dlg, int id, bool on) {
    T* box = Ctrl<T>(dlg, id);
    ASSERT_NE(box, nullptr);
    if (box->GetValue() != on)
        testpump::RealClick(box);
    ASSERT_EQ(box->GetValue(), on) << "the click did not reach control " << id;
}
inline void SetCheck(wxWindow* dlg, int id, bool on) {
    ClickTo<wxCheckBox>(dlg, id, on);
}

// Replaces the text of field `id` as a person does: a click into it, Ctrl+A, then the
// keys of `text`. Text a US keyboard has no keys for (letters beyond ASCII, a tab) is
// pasted instead, and so is text given as `pasted` (a field that drops some keys
// still takes a paste whole).
inline void Type(wxWindow* dlg, int id, const wxString& text, bool pasted = false) {
    auto* t = Ctrl<wxTextCtrl>(dlg, id);
    ASSERT_NE(t, nullptr);
    // In its middle: GTK ignores a click on the entry's frame.
    testpump::RealClick(t, wxPoint(t->GetSize().x / 2, t->GetSize().y / 2));
    wxUIActionSimulator sim;
    sim.Char('a', wxMOD_CONTROL);
    const bool keys = !pasted && std::all_of(text.begin(), text.end(),
                                             [](wxUniChar c) { return c.IsAscii() && c >= ' ' && c < 0x7f; });
    if (text.empty()) {
        sim.Char(WXK_BACK);
    } else if (keys) {
        sim.Text(text.ToAscii());
    } else {
        ASSERT_TRUE(wxTheClipboard->Open());
        wxTheClipboard->SetData(new wxTextDataObject(text));
        wxTheClipboard->Close();
        sim.Char('v', wxMOD_CONTROL);
    }
    ASSERT_TRUE(testpump::PumpUntil([&] { return t->GetValue() == text; }, std::chrono::seconds(3)))
        << "field " << id << " shows '" << t->GetValue() << "' after typing '" << text << "'";
}

// Chooses entry `pos` of choice `id` as a person does with the keyboard: a click opens
// its list, Escape closes it leaving the keyboard on the choice, then Home and Down.
inline void ChooseEntry(wxWindow* dlg, int id, int pos) {
    auto* choice = Ctrl<wxChoice>(dlg, id);
    ASSERT_NE(choice, nullptr);
    testpump::RealClick(choice);
    wxUIActionSimulator sim;
    sim.Char(WXK_ESCAPE);
    testpump::Pump(std::chrono::milliseconds(100));
    sim.Char(WXK_HOME);
    for (int i = 0; i < pos; ++i)
        sim.Char(WXK_DOWN);
    ASSERT_TRUE(testpump::PumpUntil([&] { return choice->GetSelection() == pos; }, std::chrono::seconds(3)))
        << "choice " << id << " shows entry " << choice->GetSelection() << ", not " << pos;
}

inline bool IsOkEnabled(wxWindow* dlg) {
    return dlg->FindWindow(wxID_OK)->IsEnabled();
}

// Dialogs a test runs for real (see CNoStrayDialogs).
inline std::set<wxDialog*>& AllowedDialogs() {
    static std::set<wxDialog*> allowed;
    return allowed;
}

// Queues `body` inside the loop `dlg` is about to run, and sees that the loop ends
// soon after it, so that a broken dialog fails its test instead of hanging the run.
// A dialog the body left open is a failure and is closed. A loop still running a
// moment later lost its end to a loop nested in it (EndModal ends only the active
// one, and the dialog then merely hides): `watchdog`, which must outlive the loop,
// records the failure and ends it.
class CLoopWatchdog : public wxTimer {
public:
    void Notify() override {
        ADD_FAILURE() << "the dialog was closed but its modal loop still ran";
        wxEventLoopBase::GetActive()->ScheduleExit(wxID_ABORT);
    }
};

inline void QueueBody(wxDialog& dlg, std::function<void()> body, CLoopWatchdog& watchdog) {
    AllowedDialogs().insert(&dlg);
    dlg.CallAfter([&dlg, body = std::move(body), &watchdog] {
        body();
        if (dlg.IsModal()) {
            ADD_FAILURE() << "dialog still open after the test body";
            dlg.EndModal(wxID_ABORT);
        }
        watchdog.StartOnce(2000);
    });
}

// Runs the dialog modally with `body` queued inside its loop (see QueueBody).
inline int RunModal(wxDialog& dlg, std::function<void()> body) {
    CLoopWatchdog watchdog;
    QueueBody(dlg, std::move(body), watchdog);
    return dlg.ShowModal();
}

// A message box expected with this text, caption and icon; answered with `answer`.
class CExpectMessage : public wxExpectModalBase<wxMessageDialog, CExpectMessage> {
public:
    CExpectMessage(int answer, wxString text, wxString caption, long icon)
        : m_answer(answer), m_text(std::move(text)), m_caption(std::move(caption)), m_icon(icon) {}

protected:
    int OnInvoked(wxMessageDialog* dlg) const override {
        // An empty expected text accepts any (texts of the system, say).
        if (!m_text.empty()) {
            EXPECT_EQ(dlg->GetMessage(), m_text);
        }
        EXPECT_EQ(dlg->GetCaption(), m_caption);
        EXPECT_EQ(dlg->GetMessageDialogStyle() & wxICON_MASK, m_icon);
        return m_answer;
    }

private:
    int m_answer;
    wxString m_text;
    wxString m_caption;
    long m_icon;
};

// A real click on `id` that is refused with the message for text the code page
// cannot hold: `field` holds `unheld`.
inline void ExpectCannotHold(wxWindow* dlg, int id, const wxString& field, wxUniChar unheld) {
    wxTEST_DIALOG(testpump::RealClick(dlg->FindWindow(id)),
                  CExpectMessage(wxID_OK, CDialogBase::CannotHoldText(field, unheld), "Information",
                                 wxICON_INFORMATION));
}

// Any modal dialog that is not run for real and that no expectation claimed fails
// the test instead of hanging it.
class CNoStrayDialogs : public wxModalDialogHook {
public:
    CNoStrayDialogs() { Register(); }
    ~CNoStrayDialogs() override {
        Unregister();
        AllowedDialogs().clear();
    }

protected:
    int Enter(wxDialog* dlg) override {
        if (AllowedDialogs().count(dlg))
            return wxID_NONE;
        if (auto* m = dynamic_cast<wxMessageDialog*>(dlg))
            ADD_FAILURE() << "unexpected message box: " << m->GetMessage().utf8_str();
        else
            ADD_FAILURE() << "unexpected dialog: " << dlg->GetTitle().utf8_str();
        return wxID_CANCEL;
    }
    void Exit(wxDialog* dlg) override { AllowedDialogs().erase(dlg); }
};

// Lets a nested dialog of type T run for real, with `body` queued inside its loop
// (the body must close it). Counts how often it ran.
template <class T> class CDriveNested : public wxModalDialogHook {
public:
    explicit CDriveNested(std::function<void(T*)> body) : m_body(std::move(body)) { Register(); }
    ~CDriveNested() override { Unregister(); }
    int m_nRuns = 0;

protected:
    int Enter(wxDialog* dlg) override {
        T* t = dynamic_cast<T*>(dlg);
        if (!t)
            return wxID_NONE;
        ++m_nRuns;
        QueueBody(
            *dlg, [t, body = m_body] { body(t); }, m_watchdog);
        return wxID_NONE;
    }
    void Exit(wxDialog* dlg) override {
        if (dynamic_cast<T*>(dlg))
            m_watchdog.Stop();
    }

private:
    std::function<void(T*)> m_body;
    CLoopWatchdog m_watchdog;
};

// A dialog of type T expected and answered by `action`, which may look at it and
// change the records it was handed, without running it.
template <class T> class CExpectDialog : public wxExpectModalBase<T, CExpectDialog<T>> {
public:
    explicit CExpectDialog(std::function<int(T*)> action) : m_action(std::move(action)) {}

protected:
    int OnInvoked(T* dlg) const override { return m_action(dlg); }

private:
    std::function<int(T*)> m_action;
};

class DialogTest : public ::testing::Test {
protected:
    CNoStrayDialogs m_noStray;
};

} // namespace dlgtest
