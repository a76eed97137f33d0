#pragma once
// Editor of the service's run interval in minutes: a slider whose position is the
// value, and up/down arrows beside a read-only number field that move it by one.
// The caller marks the project modified after OK.
#include "controls/CDialogBase.h"
#include <cstdint>

class CCorvaneDoc;
class wxSlider;
class wxSpinButton;
class wxSpinEvent;
class wxTextCtrl;

class CDlgService : public CDialogBase {
public:
    enum : int { kIdMinutes = 1056, kIdUpDown = 1089, kIdSlider = 1055 };
    static constexpr int kMin = 10;
    static constexpr int kMax = 110;

    CDlgService(wxWindow* parent, CCorvaneDoc* pDoc);

    // One step of the arrows (+1 up, -1 down), as a click or an arrow key makes it.
    void Step(int delta);

private:
    void BuildControls();
    void OnSlider(wxCommandEvent& event);
    void OnSpin(wxSpinEvent& event);
    void OnOK(wxCommandEvent& event);
    void ShowSliderTip();

    CCorvaneDoc* m_pDoc;
    wxTextCtrl* m_pMinutes = nullptr;
    wxSpinButton* m_pUpDown = nullptr;
    wxSlider* m_pSlider = nullptr;
};
