#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QWidget>
#include <deque>
#include <functional>

class QMessageBox;

// Answers the modal windows that open while the program runs, as a person at the screen would:
// each time a modal window comes to the top (a new one, or one that a nested box left), the next
// queued answer acts on it, or, with none queued, it is dismissed (a message box by its Escape
// button, any other dialog rejected). Every modal window is recorded once.
class ModalAnswers : public QObject {
    Q_OBJECT
public:
    using Answer = std::function<void(QWidget* modal)>;

    struct Seen {
        QString kind;  // the class name, e.g. "QMessageBox", "CFindDlg"
        QString title; // the window title
        QString text;  // a message box's text
    };

    ModalAnswers();
    ~ModalAnswers() override;

    void Queue(Answer answer) { answers.push_back(std::move(answer)); }
    bool HasQueued() const { return !answers.empty(); }
    void Clear();

    // Closes a message box with the button of that text ("&Yes", "OK", ...), or a dialog.
    static void Dismiss(QWidget* modal);
    static Answer Click(const QString& buttonText);

    QList<Seen> seen;

private:
    void Look();

    std::deque<Answer> answers;
    QPointer<QWidget> top;
    // When the top modal window came; one that stays too long is a test's fault, not a hang.
    qint64 topSince = 0;
    QPointer<QWidget> waitingFor;
    qint64 waitingSince = 0;
    QSet<QWidget*> recorded;
    int timer = 0;
    void timerEvent(QTimerEvent* event) override;
};
