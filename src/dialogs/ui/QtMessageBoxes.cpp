#include "dialogs/ui/QtMessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace {

QMessageBox::Icon ToQt(MessageBoxes::Icon icon) {
    switch (icon) {
    case MessageBoxes::Icon::Information:
        return QMessageBox::Information;
    case MessageBoxes::Icon::Warning:
        return QMessageBox::Warning;
    case MessageBoxes::Icon::Error:
        return QMessageBox::Critical;
    case MessageBoxes::Icon::Question:
        return QMessageBox::Question;
    case MessageBoxes::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQt(MessageBoxes::Buttons buttons) {
    switch (buttons) {
    case MessageBoxes::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageBoxes::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageBoxes::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageBoxes::Buttons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

} // namespace

MessageBoxes::Answer QtMessageBoxes::Ask(const Box& box) {
    QMessageBox message(ToQt(box.icon), QString::fromStdString(box.caption),
                        QString::fromStdString(box.text), ToQt(box.buttons),
                        QApplication::activeWindow());
    if (QAbstractButton* yes = message.button(QMessageBox::Yes); yes && !box.yesText.empty()) {
        yes->setText(QString::fromStdString(box.yesText));
    }
    if (QAbstractButton* no = message.button(QMessageBox::No); no && !box.noText.empty()) {
        no->setText(QString::fromStdString(box.noText));
    }
    switch (message.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return DefaultAnswer(box.buttons);
    }
}
