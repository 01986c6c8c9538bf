#include "app/ui/SourceViewSimulator.h"

#include "simulator/ui/CSimulatorDlg.h"

namespace {

// The desktop's simulator window behind the source view's calls.
class SimulatorDlgAdapter : public SourceViewSimulator {
public:
    explicit SimulatorDlgAdapter(CSimulatorDlg* window) : SourceViewSimulator(window), dlg(window) {
        connect(dlg, &CSimulatorDlg::closed, this, &SourceViewSimulator::closed);
    }

    QWidget* Window() override { return dlg; }
    void Run() override { dlg->Run(); }
    void StepInto() override { dlg->StepInto(); }
    void StepOver() override { dlg->StepOver(); }
    void RunToCursor(std::uint16_t address) override { dlg->RunToCursor(address); }
    void StopAndClose() override { dlg->StopAndClose(); }
    void RefreshAll() override { dlg->RefreshAll(); }
    void ShowAddress(std::uint16_t address) override { dlg->ShowAddress(address); }
    bool StopAndCloseNow() override {
        dlg->Stop();
        return dlg->Close();
    }
    void RestorePlacement(const QByteArray& placement) override {
        dlg->RestorePlacement(placement);
    }
    void Show() override {
        dlg->show();
        dlg->raise();
    }

private:
    CSimulatorDlg* dlg;
};

} // namespace

SourceViewSimulatorFactory DefaultSourceViewSimulatorFactory() {
    return [](const CSimContext& context, QWidget* parent) -> SourceViewSimulator* {
        return new SimulatorDlgAdapter(new CSimulatorDlg(context, parent));
    };
}
