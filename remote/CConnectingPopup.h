#pragma once
// The small borderless popup "Connecting ..." that shows activity while the
// connection dialog waits for a connect attempt: a bar advancing once a second, and
// the Cancel button of the attempt. It lives on the main thread (the blocking call
// runs on a worker) and stays live during the blocking work, so it keeps animating
// on top of the dialog and alone takes the click on Cancel or the Escape key.
#include "controls/CBlockingWork.h"

#include <atomic>
#include <memory>
#include <wx/dialog.h>
#include <wx/timer.h>

class wxButton;
class wxGauge;

class CConnectingPopup : public wxDialog {
public:
    enum { IDD = 154, IDC_PROGRESS = 1007, IDT_ANIMATION = 1 };
    static constexpr int kStepMs = 1000;

    // Created hidden, over `owner` (may be null).
    explicit CConnectingPopup(wxWindow* owner);
    ~CConnectingPopup() override;

    // Centres the popup on its owner, shows it and paints it at once.
    void ShowPopup();
    // Keeps the popup up for one more second (events keep flowing, input does not),
    // then removes it; after a cancelled attempt it goes at once. The object is gone
    // afterwards: do not touch it again.
    enum class Closing { afterAMoment, now };
    void ClosePopup(Closing when = Closing::afterAMoment);

    int GetStep() const { return m_nStep; }
    // The button that cancels the attempt (see CBlockingWork::RunCancellable).
    wxButton* GetCancelButton() const { return m_pCancel; }
    // Number of popups on screen right now.
    static int VisibleCount() { return s_nVisible.load(); }

private:
    void OnTimer(wxTimerEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnPaint(wxPaintEvent& event);
    void OnCharHook(wxKeyEvent& event);

    wxWindow* m_pOwner;
    wxGauge* m_progress = nullptr;
    wxButton* m_pCancel = nullptr;
    int m_nStep = 0;
    wxTimer m_timer;
    bool m_bShown = false;
    std::unique_ptr<CBlockingWork::CLiveWindow> m_live;
    // Read by tests from worker threads.
    static std::atomic<int> s_nVisible;
};
