#include "app/ui/CPreferencesDlg.h"

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

} // namespace
