#include <gtest/gtest.h>
#include <wx/frame.h>
TEST(GuiSmoke, CreatesFrame) {
    auto* f = new wxFrame(nullptr, wxID_ANY, "x");
    f->Show();
    EXPECT_TRUE(f->IsShown());
    f->Destroy();
}
