#include <wx/wx.h>

class CPlaceholderApp : public wxApp {
public:
    bool OnInit() override {
        auto* frame = new wxFrame(nullptr, wxID_ANY, "Untitled - Corvane");
        frame->Show();
        return true;
    }
};

wxIMPLEMENT_APP(CPlaceholderApp);
