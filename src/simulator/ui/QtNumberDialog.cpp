#include "simulator/ui/QtNumberDialog.h"

#include "machine/CancelSignal.h"
#include "simulator/ui/CValueDlg.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QSocketNotifier>
#include <QStyle>
#include <QThread>
#include <QVBoxLayout>
#include <cstdint>
#include <memory>
#include <mutex>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {

// The answer of one dialog, passed from the user-interface thread to the waiting thread; the
// event descriptor becomes readable once the dialog has finished.
struct Exchange {
    Exchange() : fd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}
    ~Exchange() {
        if (fd >= 0) {
            close(fd);
        }
    }
    Exchange(const Exchange&) = delete;
    Exchange& operator=(const Exchange&) = delete;

    void Finish(std::optional<std::string> text) {
        {
            std::lock_guard lock(mutex);
            answer = std::move(text);
            finished = true;
        }
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = write(fd, &one, sizeof one);
    }
    bool IsFinished() {
        std::lock_guard lock(mutex);
        return finished;
    }
    std::optional<std::string> Answer() {
        std::lock_guard lock(mutex);
        return answer;
    }

    int fd;
    std::mutex mutex;
    std::optional<std::string> answer;
    bool finished = false;
    QPointer<QDialog> dialog; // user-interface thread only
};

QDialog* MakeWarning(const QString& message) {
    auto* box = new QDialog;
    box->setWindowTitle("Zorvan");
    auto* icon = new QLabel(box);
    const int size = box->style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    icon->setPixmap(box->style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(size, size));
    auto* text = new QLabel(message, box);
    text->setObjectName("message");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, box);
    QObject::connect(buttons, &QDialogButtonBox::accepted, box, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(box);
    layout->addLayout(row);
    layout->addWidget(buttons);
    box->setAccessibleName(message);
    return box;
}

// The prompt's top-left corner goes to the middle of the screen, as the keyboard prompt always
// appeared; it is a third taller than it needs.
void PlacePrompt(QDialog& dialog) {
    dialog.adjustSize();
    dialog.resize(dialog.width(), dialog.height() + dialog.height() / 3);
    if (const QScreen* screen = QApplication::primaryScreen()) {
        dialog.move(screen->availableGeometry().center());
    }
}

} // namespace

QtNumberDialog::QtNumberDialog(QObject* parent) : QObject(parent) {
}

std::optional<std::string> QtNumberDialog::Show(const std::string& promptText,
                                                const std::string& text,
                                                const CancelSignal& cancel) {
    const QString prompt = QString::fromStdString(promptText);
    const QString initial = QString::fromStdString(text);
    return Wait([prompt, initial] { return new CValueDlg(prompt, initial, nullptr); },
                [](QDialog& dialog) -> std::optional<std::string> {
                    return static_cast<CValueDlg&>(dialog).Text().toStdString();
                },
                cancel);
}

void QtNumberDialog::ShowWarning(const std::string& message, const CancelSignal& cancel) {
    const QString text = QString::fromStdString(message);
    Wait([text] { return MakeWarning(text); }, [](QDialog&) { return std::nullopt; }, cancel);
}

std::optional<std::string> QtNumberDialog::Wait(const std::function<QDialog*()>& make,
                                                Answer answer, const CancelSignal& cancel) {
    auto exchange = std::make_shared<Exchange>();
    const auto open = [this, exchange, make, answer] {
        QDialog* dialog = make();
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        exchange->dialog = dialog;
        connect(dialog, &QDialog::finished, this, [exchange, dialog, answer](int result) {
            exchange->Finish(result == QDialog::Accepted ? answer(*dialog) : std::nullopt);
        });
        PlacePrompt(*dialog);
        dialog->show();
        dialog->raise();
        dialog->activateWindow();
        emit opened(dialog);
    };
    const auto dismiss = [exchange] {
        if (exchange->dialog) {
            exchange->dialog->reject();
        }
    };
    if (QThread::currentThread() == thread()) {
        // A step on the user-interface thread: keep the window alive while waiting.
        open();
        QEventLoop loop;
        QSocketNotifier done(exchange->fd, QSocketNotifier::Read);
        QSocketNotifier cancelled(cancel.WakeFd(), QSocketNotifier::Read);
        connect(&done, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
        connect(&cancelled, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
        if (!exchange->IsFinished() && !cancel.IsCancelled()) {
            loop.exec();
        }
        if (!exchange->IsFinished()) {
            dismiss();
            return std::nullopt;
        }
        return exchange->Answer();
    }
    QMetaObject::invokeMethod(this, open, Qt::QueuedConnection);
    if (!cancel.WaitReadable(exchange->fd) || cancel.IsCancelled()) {
        QMetaObject::invokeMethod(this, dismiss, Qt::QueuedConnection);
        return std::nullopt;
    }
    return exchange->Answer();
}
