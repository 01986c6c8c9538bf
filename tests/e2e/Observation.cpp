#include "Observation.h"

#include "ModalAnswers.h"
#include "app/CMyZorvanDoc.h"
#include "app/ui/CChildFrame.h"
#include "app/ui/CDocumentHolder.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CMyZorvanView.h"
#include "app/ui/SourceViewSimulator.h"
#include "editor/ui/CommandTarget.h"
#include "simulator/ui/CSimulatorDlg.h"

#include <QApplication>
#include <QClipboard>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>

namespace {

QString Position(CTextPosition position) {
    return QStringLiteral("%1,%2").arg(position.line).arg(position.charIndex);
}

void TakeDocument(Observation& seen, const QString& key, CDocumentHolder& holder) {
    CMyZorvanDoc& document = holder.Document();
    CTextBuffer& buffer = document.GetTextBuffer();
    seen.items[key + "/title"] = holder.Title();
    seen.items[key + "/modified"] = holder.IsModified() ? "yes" : "no";
    QString text;
    QStringList flags;
    for (int line = 0; line < buffer.LineCount(); ++line) {
        text += QString::fromLatin1(buffer.LineText(line), buffer.LineLength(line)) + '\n';
        if (buffer.LineFlags(line) != 0) {
            flags.append(QStringLiteral("%1:%2").arg(line).arg(buffer.LineFlags(line), 0, 16));
        }
    }
    seen.items[key + "/text"] = text;
    seen.items[key + "/marks"] = flags.join(' ');
    QStringList breakpoints;
    for (const BreakpointEntry& entry : document.GetBreakpoints()) {
        breakpoints.append(QStringLiteral("%1:%2").arg(entry.address).arg(entry.enabled));
    }
    seen.items[key + "/breakpoints"] = breakpoints.join(' ');
    const bool running = document.IsRunInProgress() || document.IsExecuting();
    seen.items[key + "/running"] = running ? "yes" : "no";
    for (int f = 0; f < holder.Frames().size(); ++f) {
        CChildFrame* frame = holder.Frames()[f];
        const QList<QWidget*> open = frame->OpenViews();
        for (int v = 0; v < open.size(); ++v) {
            auto* view = qobject_cast<CMyZorvanView*>(open[v]);
            if (view == nullptr) {
                continue;
            }
            const QString at = QStringLiteral("%1/window%2/view%3").arg(key).arg(f).arg(v);
            CTextPosition start;
            CTextPosition end;
            view->GetSelection(start, end);
            seen.items[at + "/caret"] = Position(view->GetCursorPos());
            seen.items[at + "/selection"] = Position(start) + "-" + Position(end);
            seen.items[at + "/scroll"] =
                QStringLiteral("%1,%2").arg(view->TopLine()).arg(view->FirstColumn());
            seen.items[at + "/overwrite"] = view->IsOverwrite() ? "yes" : "no";
            seen.items[at + "/focus"] = view->hasFocus() ? "yes" : "no";
            SourceViewSimulator* simulator = view->Simulator();
            auto* window =
                simulator != nullptr ? qobject_cast<CSimulatorDlg*>(simulator->Window()) : nullptr;
            if (window != nullptr && !running) {
                const C8085Object& machine = document.GetMachine();
                seen.items[key + "/machine"] =
                    QStringLiteral("pc=%1 sp=%2 a=%3 b=%4 c=%5 d=%6 e=%7 h=%8 l=%9 f=%10")
                        .arg(machine.pc)
                        .arg(machine.sp)
                        .arg(machine.a)
                        .arg(machine.b)
                        .arg(machine.c)
                        .arg(machine.d)
                        .arg(machine.e)
                        .arg(machine.h)
                        .arg(machine.l)
                        .arg(machine.flags);
            }
        }
    }
}

} // namespace

Observation Observation::Take(CMainFrame& main, const ModalAnswers& modals, int helpPagesOpened) {
    Observation seen;
    seen.items["caption"] = main.windowTitle();
    for (int pane : {StatusPane::Message, StatusPane::Position, StatusPane::LineEnd,
                     StatusPane::Overwrite, StatusPane::ReadOnly}) {
        seen.items[QStringLiteral("pane%1").arg(pane)] = main.PaneText(pane);
    }
    seen.items["toolbar"] = main.findChild<QToolBar*>()->isVisible() ? "shown" : "hidden";
    seen.items["statusbar"] = main.statusBar()->isVisible() ? "shown" : "hidden";
    QStringList windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible()) {
            windows.append(QString::fromLatin1(widget->metaObject()->className()) + " " +
                           widget->windowTitle());
        }
    }
    std::sort(windows.begin(), windows.end());
    seen.items["windows"] = windows.join(" | ");
    QWidget* focus = QApplication::focusWidget();
    seen.items["focus"] =
        focus != nullptr ? QString::fromLatin1(focus->metaObject()->className()) : "none";
    seen.items["clipboard"] = QApplication::clipboard()->text();
    const QList<CDocumentHolder*> documents = main.Documents();
    seen.items["documents"] = QString::number(documents.size());
    for (int d = 0; d < documents.size(); ++d) {
        TakeDocument(seen, QStringLiteral("document%1").arg(d), *documents[d]);
    }
    QStringList opened;
    for (const ModalAnswers::Seen& modal : modals.seen) {
        opened.append(modal.kind + " " + modal.title + " " + modal.text);
    }
    seen.items["modals"] = opened.join(" | ");
    seen.items["help"] = QString::number(helpPagesOpened);
    return seen;
}

QStringList Observation::ChangesTo(const Observation& after) const {
    QStringList changes;
    QStringList keys = items.keys() + after.items.keys();
    keys.removeDuplicates();
    for (const QString& key : keys) {
        const QString before = items.value(key);
        const QString now = after.items.value(key);
        if (before != now) {
            changes.append(key + ": " + before.left(60) + " -> " + now.left(60));
        }
    }
    return changes;
}
