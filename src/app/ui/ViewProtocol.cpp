#include "app/ui/ViewProtocol.h"

#include <QMetaObject>
#include <QObject>

namespace ViewProtocol {

namespace {

bool Has(QObject* object, const char* signature) {
    return object != nullptr && object->metaObject()->indexOfMethod(signature) >= 0;
}

} // namespace

std::optional<CommandEnabling::State> Query(QObject* view, int id) {
    if (!Has(view, "commandState(int)")) {
        return std::nullopt;
    }
    int state = 0;
    QMetaObject::invokeMethod(view, "commandState", Qt::DirectConnection, Q_RETURN_ARG(int, state),
                              Q_ARG(int, id));
    if ((state & Handled) == 0) {
        return std::nullopt;
    }
    return CommandEnabling::State{(state & Enabled) != 0, (state & Checked) != 0};
}

bool Execute(QObject* view, int id) {
    if (!Has(view, "onCommand(int)")) {
        return false;
    }
    bool done = false;
    QMetaObject::invokeMethod(view, "onCommand", Qt::DirectConnection, Q_RETURN_ARG(bool, done),
                              Q_ARG(int, id));
    return done;
}

QString MenuText(QObject* view, int id) {
    QString text;
    if (Has(view, "commandText(int)")) {
        QMetaObject::invokeMethod(view, "commandText", Qt::DirectConnection,
                                  Q_RETURN_ARG(QString, text), Q_ARG(int, id));
    }
    return text;
}

bool ConnectStatus(QObject* view, QObject* receiver, const char* slot) {
    if (!Has(view, "statusPaneText(int,QString)")) {
        return false;
    }
    return QObject::connect(view, SIGNAL(statusPaneText(int, QString)), receiver, slot,
                            Qt::UniqueConnection);
}

bool ConnectCommandState(QObject* view, QObject* receiver, const char* slot) {
    if (!Has(view, "commandStateChanged()")) {
        return false;
    }
    return QObject::connect(view, SIGNAL(commandStateChanged()), receiver, slot,
                            Qt::UniqueConnection);
}

bool ConnectHelp(QObject* view, QObject* receiver, const char* slot) {
    if (!Has(view, "helpRequested()")) {
        return false;
    }
    return QObject::connect(view, SIGNAL(helpRequested()), receiver, slot, Qt::UniqueConnection);
}

void RequestStatusPanes(QObject* view) {
    if (Has(view, "updateStatusPanes()")) {
        QMetaObject::invokeMethod(view, "updateStatusPanes", Qt::DirectConnection);
    }
}

} // namespace ViewProtocol
