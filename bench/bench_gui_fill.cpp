// Filling the profile list with 10,000 profiles, against inserting the same texts
// into a bare list control of the same shape. The ratio of the two is the figure.
#include "GuiBenchSupport.h"

#include "app/CCorvaneView.h"
#include "controls/WxText.h"
#include "model/CCorvaneDoc.h"

#include <array>
#include <vector>
#include <wx/frame.h>
#include <wx/listctrl.h>

namespace {

constexpr int kProfiles = 10000;

CCorvaneDoc& Project() {
    static CCorvaneDoc doc = [] {
        CCorvaneDoc d;
        d.OnNewDocument();
        for (int i = 0; i < kProfiles; ++i) {
            CFolderProfile p;
            p.m_strConnection = "ftp" + std::to_string(i % 37) + ".example.net";
            p.m_strFtpFolder = "/exchange/site" + std::to_string(i);
            p.m_strLocalFolder = "/srv/sync/site" + std::to_string(i);
            p.m_bDownload = i % 2 == 0;
            p.m_bUpload = i % 3 == 0;
            p.m_bEnabled = i % 5 != 0;
            d.m_arrProfiles.push_back(std::move(p));
        }
        return d;
    }();
    return doc;
}

void BM_BareListCtrl(benchmark::State& state) {
    // The texts as the view shows them, converted beforehand.
    std::vector<std::array<wxString, 5>> rows;
    for (const auto& p : Project().m_arrProfiles)
        rows.push_back({ToWx(p.m_strConnection), ToWx(p.m_strFtpFolder), ToWx(p.m_strLocalFolder),
                        p.m_bDownload ? "Yes" : "No", p.m_bUpload ? "Yes" : "No"});
    auto* frame = new wxFrame(nullptr, wxID_ANY, "bare", wxDefaultPosition, wxSize(900, 600));
    auto* list = new wxListCtrl(frame, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLC_REPORT);
    for (int c = 0; c < 5; ++c)
        list->InsertColumn(c, "column", wxLIST_FORMAT_LEFT, 150);
    frame->Show();
    guibench::RunUntilIdle();
    for (auto _ : state) {
        list->DeleteAllItems();
        long row = 0;
        for (const auto& texts : rows) {
            const long at = list->InsertItem(row++, texts[0]);
            for (int c = 1; c < 5; ++c)
                list->SetItem(at, c, texts[static_cast<std::size_t>(c)]);
        }
        guibench::RunUntilIdle();
    }
    delete frame;
}
BENCHMARK(BM_BareListCtrl)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_ViewFillList(benchmark::State& state) {
    auto* frame = new wxFrame(nullptr, wxID_ANY, "view", wxDefaultPosition, wxSize(900, 600));
    auto* view = new CCorvaneView(frame, &Project(), nullptr);
    view->SetSize(frame->GetClientSize());
    view->OnInitialUpdate();
    frame->Show();
    guibench::RunUntilIdle();
    for (auto _ : state) {
        view->FillList();
        guibench::RunUntilIdle();
    }
    delete frame;
}
BENCHMARK(BM_ViewFillList)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    return guibench::RunBenchmarks(argc, argv);
}
