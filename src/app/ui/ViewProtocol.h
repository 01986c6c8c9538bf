#pragma once

#include "app/CommandEnabling.h"

#include <QString>
#include <functional>
#include <optional>

class CMyZorvanDoc;
class QObject;
class QWidget;

// How a view lives in a document window and talks to the main window. A view is any QWidget; it
// takes part by declaring the members below (found by name through Qt's meta-object system, so a
// view needs no header of the app layer and the text-view library stays independent of it).
//
// Creating views. Every pane of a document window gets its view from one factory, set with
// CMainFrame::SetViewFactory. It is called with the document and the pane's parent widget; from
// inside the view, CChildFrame::Of(this) gives the frame and its CDocumentHolder, and
// CMainFrame::Of(this) the main window, once the view has a parent.
//
// Commands. The main window owns every QAction and key binding of the command table. A command
// whose enabling hook is View is carried out by the active view (the pane that last had the
// focus in the active document window). The view declares:
//     Q_INVOKABLE int commandState(int id) const;
//         0 when the view does not carry out `id` (the command is then disabled), otherwise
//         ViewProtocol::Handled plus Enabled and/or Checked.
//     Q_INVOKABLE bool onCommand(int id);
//         carries out `id`; true when it did.
//     Q_INVOKABLE QString commandText(int id) const;            (optional)
//         a menu text replacing the table's (e.g. "&Undo Cut\tCtrl+Z"), or empty for the table's.
//     signal void helpRequested();                               (optional)
//         the help page is wanted (the frame opens it; F1 and the Help menu never reach the view).
//     signal void commandStateChanged();                         (optional)
//         emitted when an enabled state may have changed (selection, clipboard, undo, run state);
//         the main window then asks again. It also asks whenever the focus, the active window or
//         a menu opens.
// The main window's keys reach the view as commands (F9 arrives as onCommand(32826)). A view that
// wants a key for itself accepts the QEvent::ShortcutOverride of that key, and then gets it as a
// normal key press.
//
// Status bar. The view declares
//     signal void statusPaneText(int paneId, const QString& text);
//     Q_INVOKABLE void updateStatusPanes();                      (optional)
// with pane ids MessagePane (0: the message pane, e.g. the mini help), 59142 ("Ln %d, Col %d"),
// 59144 ("DOS"/"UNIX"/"MAC"), 59140 ("OVR"/"INS") and 59145 ("READ" or empty). Only the active
// view's signal reaches the status bar; when a view becomes active the main window clears the
// panes and calls its updateStatusPanes() to fill them.
namespace ViewProtocol {

constexpr int Handled = 1;
constexpr int Enabled = 2;
constexpr int Checked = 4;

constexpr int MessagePane = 0;
constexpr int PositionPane = 59142;
constexpr int LineEndPane = 59144;
constexpr int OverwritePane = 59140;
constexpr int ReadOnlyPane = 59145;
constexpr int CapsLockPane = 59137;
constexpr int NumLockPane = 59138;

using ViewFactory = std::function<QWidget*(CMyZorvanDoc& document, QWidget* parent)>;

// None when `view` is null or does not carry out `id`.
std::optional<CommandEnabling::State> Query(QObject* view, int id);
bool Execute(QObject* view, int id);
QString MenuText(QObject* view, int id);
// Connects the view's optional signals to `receiver`'s slots; false for a missing signal.
bool ConnectStatus(QObject* view, QObject* receiver, const char* slot);
bool ConnectCommandState(QObject* view, QObject* receiver, const char* slot);
bool ConnectHelp(QObject* view, QObject* receiver, const char* slot);
void RequestStatusPanes(QObject* view);

} // namespace ViewProtocol
