#include "app/ui/CPreferencesDlg.h"
#include "simulator/ui/SimulatorSettings.h"

#include <QCheckBox>
#include <gtest/gtest.h>

namespace {

TEST(PreferencesDlg, ShowsAndReturnsBothPreferences) {
    SourcePreferences shown;
    shown.syntaxHighlighting = true;
    shown.miniHelp = false;
    CPreferencesDlg dialog(shown);
    EXPECT_EQ(dialog.windowTitle(), "Edit Preferences");
    EXPECT_EQ(dialog.SyntaxBox()->text(), "&Syntax Highlighting");
    EXPECT_EQ(dialog.MiniHelpBox()->text(), "S&how mini help in status bar");
    EXPECT_TRUE(dialog.SyntaxBox()->isChecked());
    EXPECT_FALSE(dialog.MiniHelpBox()->isChecked());
    dialog.SyntaxBox()->click();
    dialog.MiniHelpBox()->click();
    const SourcePreferences chosen = dialog.Chosen();
    EXPECT_FALSE(chosen.syntaxHighlighting);
    EXPECT_TRUE(chosen.miniHelp);
}

TEST(PreferencesDlg, TheStepBackHistorySwitchIsKeptInTheSettingsWhenAccepted) {
    SimulatorSettings::SetStepBackHistory(true);
    {
        CPreferencesDlg dialog(SourcePreferences{});
        EXPECT_TRUE(dialog.HistoryBox()->isChecked());
        dialog.HistoryBox()->click();
        dialog.reject();
    }
    EXPECT_TRUE(SimulatorSettings::StepBackHistory()) << "Cancel keeps it";
    {
        CPreferencesDlg dialog(SourcePreferences{});
        dialog.HistoryBox()->click();
        dialog.accept();
    }
    EXPECT_FALSE(SimulatorSettings::StepBackHistory());
    CPreferencesDlg dialog(SourcePreferences{});
    EXPECT_FALSE(dialog.HistoryBox()->isChecked());
    SimulatorSettings::SetStepBackHistory(true);
}

} // namespace
