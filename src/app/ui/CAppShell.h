#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QUrl>
#include <functional>

class CMainFrame;

// The program's start-up and its application-wide keys: settings location, main window, the
// command line's file or an empty document, the splash; F1 anywhere (dialogs included) opens the
// help page; the Caps Lock and Num Lock panes follow the key events where the platform reports
// lock states. Keys for the simulator window are that window's own shortcuts, not routed here.
class CAppShell : public QObject {
    Q_OBJECT
public:
    explicit CAppShell(QObject* parent = nullptr);
    ~CAppShell() override;

    // Opens `file` (none: an empty document). A file that cannot be read is reported and an
    // empty document takes its place. Shows the main window, then the splash when asked.
    void Start(const QString& file, bool splash);
    CMainFrame* MainFrame() const;

    // Opens the help page with the desktop's browser; "Could not open <page>" when that fails.
    // A launch under way is not started again.
    void OpenHtmlHelp();
    // Where the help page is looked for, in order: beside the program, then in the installed
    // data folder.
    QStringList HelpPageCandidates() const { return helpCandidates; }
    void SetHelpPageCandidates(QStringList candidates) { helpCandidates = std::move(candidates); }
    // Where Help > Examples looks for the example programs, in the same order: beside the
    // program (the build links them there), then in the installed data folder. Given to the main
    // window at Start.
    QStringList ExampleFolders() const { return exampleFolders; }
    void SetExampleFolders(QStringList folders) { exampleFolders = std::move(folders); }
    // Opens a URL; QDesktopServices::openUrl unless replaced (tests).
    std::function<bool(const QUrl&)> urlOpener;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<CMainFrame> mainFrame;
    QStringList helpCandidates;
    QStringList exampleFolders;
    bool helpLaunching = false;
};
