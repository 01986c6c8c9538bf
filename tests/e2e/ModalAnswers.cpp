#include "ModalAnswers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTimerEvent>
#include <gtest/gtest.h>

namespace {
constexpr qint64 stuckMilliseconds = 8000;
} // namespace

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
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (modal == top && now - topSince > stuckMilliseconds) {
        ADD_FAILURE() << "a " << modal->metaObject()->className() << " \""
                      << modal->windowTitle().toStdString() << "\" stayed open; closed";
        topSince = now;
        Dismiss(modal);
        return;
    }
    if (modal == top || !modal->isVisible()) {
        return;
    }
    // A person answers a window that has come up and taken the keyboard.
    if (modal != waitingFor) {
        waitingFor = modal;
        waitingSince = now;
    }
    if (QApplication::activeWindow() != modal && now - waitingSince < 1000) {
        return;
    }
    top = modal;
    topSince = now;
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
