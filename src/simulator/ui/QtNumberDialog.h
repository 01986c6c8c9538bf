#pragma once

#include "simulator/NumberDialog.h"

#include <QObject>
#include <functional>

class QDialog;

// The number prompt of the keyboard system calls on the desktop. They run on a run's worker, so
// the dialog (131) and its warning boxes are shown without a modal loop on the user-interface
// thread while the worker waits for the answer or for the run's cancel signal: Stop, Close and
// Shift+F5 stay usable while a prompt is open, and Stop closes it. Create it on the
// user-interface thread; it may then be called from any thread.
class QtNumberDialog : public QObject, public NumberDialog {
    Q_OBJECT
public:
    explicit QtNumberDialog(QObject* parent = nullptr);

    std::optional<std::string> Show(const std::string& promptText, const std::string& text,
                                    const CancelSignal& cancel) override;
    void ShowWarning(const std::string& message, const CancelSignal& cancel) override;

signals:
    // A prompt or warning was shown (user-interface thread).
    void opened(QDialog* dialog);

private:
    using Answer = std::function<std::optional<std::string>(QDialog&)>;
    std::optional<std::string> Wait(const std::function<QDialog*()>& make, Answer answer,
                                    const CancelSignal& cancel);
};
