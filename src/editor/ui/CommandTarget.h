#pragma once

#include <QString>
#include <QStringList>

class CommandTarget;

// The status bar panes a view fills, by their indicator ids.
namespace StatusPane {
constexpr int Message = 0; // prompts, "Ready" and the source view's mini help
constexpr int Position = 59142;
constexpr int LineEnd = 59144;
constexpr int Overwrite = 59140;
constexpr int ReadOnly = 59145;
constexpr int CapsLock = 59137;
constexpr int NumLock = 59138;
} // namespace StatusPane

// The window that hosts views: it owns every key and menu item and hears from its views. Only
// what its active view says reaches the status bar and the enabling of the commands.
class CommandHost {
public:
    virtual void ViewPaneText(CommandTarget& view, int paneId, const QString& text) = 0;
    // An enabled state, a check mark or a menu text of `view`'s commands may have changed.
    virtual void ViewCommandStateChanged(CommandTarget& view) = 0;
    virtual void ViewHelpRequested() = 0;
    // Files dropped on a view, to open as documents.
    virtual void ViewFilesDropped(const QStringList& paths) = 0;

protected:
    ~CommandHost() = default;
};

// A view as its host sees it. The host binds the keys and offers each command to the active view
// first; the view answers whether it carries the command out, and carries it out.
class CommandTarget {
public:
    struct State {
        bool handled = false; // the view carries the command out
        bool enabled = false;
        bool checked = false;
    };

    virtual State CommandState(int id) const = 0;
    // Carries out `id`; false when the view does not handle it or it is disabled.
    virtual bool OnCommand(int id) = 0;
    // A menu text replacing the host's (e.g. "&Undo Cut\tCtrl+Z"), or empty.
    virtual QString CommandText(int /*id*/) const { return {}; }
    // The host that hears from this view; null for none.
    virtual void SetCommandHost(CommandHost* host) = 0;
    // Tells the host every pane text again (the view just became the active one).
    virtual void UpdateStatusPanes() = 0;

protected:
    ~CommandTarget() = default;
};
