#pragma once
// Helpers for driving the settings editors: a dialog runs its real modal loop while a
// queued body works its controls through the same events a user's input raises.
#include "../common/RealClick.h"
#include "controls/CDialogBase.h"

#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/radiobut.h>
#include <wx/testing.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

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

// Raises the event control `id` sends when the user sets it to `value` (which the
// caller has already shown in the control).
inline void Notify(wxWindow* dlg, int id, wxEventType type, int value) {
    wxWindow* w = dlg->FindWindow(id);
    ASSERT_NE(w, nullptr) << "no control " << id;
    wxCommandEvent ev(type, id);
    ev.SetEventObject(w);
    ev.SetInt(value);
    w->ProcessWindowEvent(ev);
}

inline void SetCheck(wxWindow* dlg, int id, bool on) {
    Ctrl<wxCheckBox>(dlg, id)->SetValue(on);
    Notify(dlg, id, wxEVT_CHECKBOX, on ? 1 : 0);
}

inline void SelectRadio(wxWindow* dlg, int id) {
    Ctrl<wxRadioButton>(dlg, id)->SetValue(true);
    Notify(dlg, id, wxEVT_RADIOBUTTON, 1);
}

// SetValue raises the text-changed event, as typing does.
inline void Type(wxWindow* dlg, int id, const wxString& text) {
    auto* t = Ctrl<wxTextCtrl>(dlg, id);
    ASSERT_NE(t, nullptr);
    t->SetValue(text);
}

// Lets the dialog's loop run (timers, pending events) for about `ms` milliseconds.
inline void Pump(int ms) {
    testpump::Pump(std::chrono::milliseconds(ms));
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
                  CExpectMessage(wxID_OK, CDialogBase::CannotHoldText(field, unheld), "Information ",
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
