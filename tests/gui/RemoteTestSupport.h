#pragma once
// Helpers shared by the remote dialogs' tests: message boxes answered and recorded
// (with whether the "Connecting ..." popup was still up), event pumping while a
// dialog shows without a modal loop, and tree inspection.
#include "remote/CChildThread.h"
#include "remote/CDialog1.h"

#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <vector>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/textctrl.h>
#include <wx/treectrl.h>

namespace remotetest {

struct SeenBox {
    wxString message;
    wxString caption;
    long icon;
    int popupsVisible;
};

// Answers every message box with OK and keeps what it showed; other modal dialogs
// run as they are.
class CMessageRecorder : public wxModalDialogHook {
public:
    CMessageRecorder() { Register(); }
    ~CMessageRecorder() override { Unregister(); }

    std::vector<SeenBox> boxes;

protected:
    int Enter(wxDialog* dlg) override {
        if (auto* m = dynamic_cast<wxMessageDialog*>(dlg)) {
            boxes.push_back({m->GetMessage(), m->GetCaption(), m->GetMessageDialogStyle() & wxICON_MASK,
                             CDialog1::VisibleCount()});
            return wxID_OK;
        }
        return wxID_NONE;
    }
    void Exit(wxDialog*) override {}
};

inline void Pump(std::chrono::milliseconds duration) {
    CChildThread::DispatchEventsFor(duration);
}

inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    return CChildThread::DispatchEventsUntil(done, limit);
}

template <class T> T* Find(wxWindow* dlg, int id) {
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

inline void Toggle(wxWindow* dlg, int id, bool on) {
    auto* c = Find<wxCheckBox>(dlg, id);
    ASSERT_NE(c, nullptr);
    c->SetValue(on);
    wxCommandEvent ev(wxEVT_CHECKBOX, id);
    ev.SetEventObject(c);
    ev.SetInt(on ? 1 : 0);
    c->ProcessWindowEvent(ev);
}

inline wxString LabelOf(wxWindow* dlg, int id) {
    return dlg->FindWindow(id)->GetLabel();
}

inline std::vector<wxString> ChildTexts(wxTreeCtrl* tree, const wxTreeItemId& item) {
    std::vector<wxString> out;
    wxTreeItemIdValue cookie;
    for (wxTreeItemId c = tree->GetFirstChild(item, cookie); c.IsOk(); c = tree->GetNextChild(item, cookie))
        out.push_back(tree->GetItemText(c));
    return out;
}

inline wxTreeItemId ChildNamed(wxTreeCtrl* tree, const wxTreeItemId& item, const wxString& text) {
    wxTreeItemIdValue cookie;
    for (wxTreeItemId c = tree->GetFirstChild(item, cookie); c.IsOk(); c = tree->GetNextChild(item, cookie))
        if (tree->GetItemText(c) == text)
            return c;
    return {};
}

} // namespace remotetest
