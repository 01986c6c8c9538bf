#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

class CMainFrame;
class ModalAnswers;

// What a user can see of the program at one moment, item by item: captions, status panes, the
// windows shown, the focus, each document's text, line marks and modified state, each view's
// caret, selection, scroll position and overwrite mode, the clipboard, the simulators' machines
// and breakpoints, the modal windows and help pages opened so far.
struct Observation {
    QMap<QString, QString> items;

    static Observation Take(CMainFrame& main, const ModalAnswers& modals, int helpPagesOpened);
    // The items that differ, as "item: before -> after".
    QStringList ChangesTo(const Observation& after) const;
};
