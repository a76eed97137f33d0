#pragma once
// The About box: program name and version, a notice line and the web link.
#include <wx/dialog.h>

class CStaticLink;

class CAboutDialog : public wxDialog {
public:
    enum : int { kIdLink = 1025 };

    static constexpr const char* kVersionText = "Corvane Version 1.0.0.89";
    static constexpr const char* kNoticeText = "Copyright \u00a9 2026 Halden";
    static constexpr const char* kWebAddress = "https://www.halden.example/corvane/";

    explicit CAboutDialog(wxWindow* parent);

    CStaticLink* GetLink() const { return m_pLink; }

private:
    CStaticLink* m_pLink = nullptr;
};
