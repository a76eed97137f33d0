#include "dialogs/DlgCommon.h"

#include <atomic>
#include <chrono>
#include <exception>
#include <limits>
#include <thread>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/evtloop.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/utils.h>

namespace corvane::dlg {

std::int32_t ReadLeadingNumber(const wxString& text) {
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

wxString FormatNumber(std::int32_t value) {
    return wxString::Format("%d", static_cast<int>(value));
}

wxString Trimmed(const wxString& text) {
    wxString out = text;
    out.Trim(true).Trim(false);
    return out;
}

void ShowInformation(wxWindow* parent, const wxString& text, const wxString& caption) {
    wxMessageBox(text, caption, wxOK | wxICON_INFORMATION, parent);
}

void ShowError(wxWindow* parent, const wxString& text) {
    wxMessageBox(text, kCaptionError, wxOK | wxICON_ERROR, parent);
}

bool AskYesNo(wxWindow* parent, const wxString& text) {
    return wxMessageBox(text, kCaptionQuestion, wxYES_NO | wxICON_QUESTION, parent) == wxYES;
}

void RunBlocking(const std::function<void()>& job) {
    std::atomic<bool> done{false};
    std::exception_ptr error;
    std::thread worker([&] {
        try {
            job();
        } catch (...) {
            error = std::current_exception();
        }
        done = true;
        wxWakeUpIdle();
    });
    {
        wxBusyCursor wait;
        wxWindowDisabler noInput;
        while (!done) {
            if (wxEventLoopBase* loop = wxEventLoopBase::GetActive())
                loop->YieldFor(wxEVT_CATEGORY_UI);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    worker.join();
    if (error)
        std::rethrow_exception(error);
}

wxSizer* MakeButtonRow(wxWindow* parent, bool withCancel) {
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->AddStretchSpacer();
    auto* ok = new wxButton(parent, wxID_OK, "OK");
    ok->SetDefault();
    row->Add(ok, 0, wxRIGHT, withCancel ? parent->FromDIP(8) : 0);
    if (withCancel)
        row->Add(new wxButton(parent, wxID_CANCEL, "Cancel"));
    return row;
}

} // namespace corvane::dlg
