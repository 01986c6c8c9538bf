#include "editor/ui/FindCommands.h"

#include "editor/FindRepeat.h"
#include "editor/FindSession.h"
#include "editor/ReplaceSession.h"
#include "editor/ui/CFindDlg.h"
#include "editor/ui/CReplaceDlg.h"
#include "editor/ui/FindSettings.h"

namespace {

// Runs the dialog modally; the view shows its selection meanwhile, as if it had the focus.
void RunDialog(SearchTarget& target, QDialog& dialog) {
    target.SetFindDialogOpen(true);
    dialog.exec();
    target.SetFindDialogOpen(false);
}

} // namespace

void FindCommands::Find(SearchTarget& target, QWidget* parent) {
    FindSession session(target, FindSettings::Read(FindSettings::findSection));
    {
        CFindDlg dialog(session, parent);
        RunDialog(target, dialog);
    }
    FindSettings::Write(FindSettings::findSection, session.Finish());
}

bool FindCommands::CanRepeat(const SearchTarget& target) {
    return FindRepeat::CanRepeat(target);
}

void FindCommands::FindNext(SearchTarget& target) {
    FindRepeat::Repeat(target, false);
}

void FindCommands::FindPrevious(SearchTarget& target) {
    FindRepeat::Repeat(target, true);
}

void FindCommands::Replace(SearchTarget& target, QWidget* parent) {
    if (!target.IsEditable()) {
        return;
    }
    ReplaceSession session(target, FindSettings::Read(FindSettings::replaceSection));
    {
        CReplaceDlg dialog(session, parent);
        RunDialog(target, dialog);
    }
    FindSettings::Write(FindSettings::replaceSection, session.Finish());
}
