#include "ModalAnswers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTimerEvent>
#include <gtest/gtest.h>

ModalAnswers::ModalAnswers() {
    timer = startTimer(15);
}

ModalAnswers::~ModalAnswers() {
    killTimer(timer);
}

void ModalAnswers::Clear() {
    answers.clear();
    seen.clear();
    recorded.clear();
}

void ModalAnswers::timerEvent(QTimerEvent* event) {
    if (event->timerId() == timer) {
        Look();
    }
}

void ModalAnswers::Look() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) {
        top = nullptr;
        return;
    }
    if (modal == top || !modal->isVisible()) {
        return;
    }
    top = modal;
    if (!recorded.contains(modal)) {
        recorded.insert(modal);
        Seen record{
            QString::fromLatin1(modal->metaObject()->className()), modal->windowTitle(), {}};
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            record.text = box->text();
        }
        seen.append(record);
    }
    Answer answer = &ModalAnswers::Dismiss;
    if (!answers.empty()) {
        answer = std::move(answers.front());
        answers.pop_front();
    }
    // Later, from the event loop: an answer may open a nested modal window, which must not wait
    // inside this timer.
    QTimer::singleShot(0, modal, [guard = QPointer<QWidget>(modal), answer] {
        if (guard != nullptr) {
            answer(guard);
        }
    });
}

void ModalAnswers::Dismiss(QWidget* modal) {
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        if (QAbstractButton* escape = box->escapeButton()) {
            escape->click();
            return;
        }
        if (QAbstractButton* fallback = box->defaultButton()) {
            fallback->click();
            return;
        }
    }
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->reject();
        return;
    }
    modal->close();
}

ModalAnswers::Answer ModalAnswers::Click(const QString& buttonText) {
    return [buttonText](QWidget* modal) {
        const QString wanted = QString(buttonText).remove(QLatin1Char('&'));
        for (QAbstractButton* button : modal->findChildren<QAbstractButton*>()) {
            if (button->text().remove(QLatin1Char('&')) == wanted && button->isVisible()) {
                button->click();
                return;
            }
        }
        ADD_FAILURE_AT(__FILE__, __LINE__) << "no button " << buttonText.toStdString();
        Dismiss(modal);
    };
}
