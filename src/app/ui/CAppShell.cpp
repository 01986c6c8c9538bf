#include "app/ui/CAppShell.h"

#include "app/ui/CAppInfo.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CMyZorvanView.h"
#include "app/ui/CSplash.h"
#include "editor/MessageBoxes.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>

// The program's icon, compiled into this library.
static void LoadResources() {
    Q_INIT_RESOURCE(zorvan);
}

CAppShell::CAppShell(QObject* parent) : QObject(parent) {
    QCoreApplication::setOrganizationName(CAppInfo::SettingsOrganisation);
    QCoreApplication::setApplicationName(CAppInfo::SettingsApplication);
    QCoreApplication::setApplicationVersion(CAppInfo::VersionText);
    LoadResources();
    qApp->setWindowIcon(QIcon(QStringLiteral(":/zorvan/zorvan.svg")));
    const QDir programFolder(QCoreApplication::applicationDirPath());
    helpCandidates = {
        programFolder.filePath(QStringLiteral("Help/index.html")),
        QDir::cleanPath(programFolder.filePath(QStringLiteral("../share/zorvan/Help/index.html")))};
    urlOpener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    qApp->installEventFilter(this);
}

CAppShell::~CAppShell() {
    qApp->removeEventFilter(this);
    delete mainFrame;
}

CMainFrame* CAppShell::MainFrame() const {
    return mainFrame;
}

void CAppShell::Start(const QString& file, bool splash) {
    mainFrame = new CMainFrame;
    mainFrame->SetViewFactory([](CMyZorvanDoc& document, QWidget* parent) -> QWidget* {
        return new CMyZorvanView(document, parent);
    });
    mainFrame->helpHandler = [this] { OpenHtmlHelp(); };
    mainFrame->show();
    if (splash) {
        auto* picture = new CSplash(true);
        picture->show();
    }
    if (file.isEmpty() || mainFrame->OpenDocumentFile(file) == nullptr) {
        mainFrame->NewDocument();
    }
}

void CAppShell::OpenHtmlHelp() {
    if (helpLaunching) {
        return;
    }
    helpLaunching = true;
    QString page = helpCandidates.isEmpty() ? QString() : helpCandidates.front();
    for (const QString& candidate : helpCandidates) {
        if (QFileInfo(candidate).isFile()) {
            page = candidate;
            break;
        }
    }
    const bool opened = QFileInfo(page).isFile() && urlOpener(QUrl::fromLocalFile(page));
    if (!opened) {
        MessageBoxes::Tell(CAppInfo::Title, "Could not open <" + page.toStdString() + ">",
                           MessageBoxes::Icon::Warning);
    }
    helpLaunching = false;
}

bool CAppShell::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease &&
        type != QEvent::ShortcutOverride) {
        return QObject::eventFilter(watched, event);
    }
    auto* key = static_cast<QKeyEvent*>(event);
    // Only real windows: a key event is offered to the window and then to the widget.
    if (!watched->isWidgetType()) {
        return false;
    }
    if (key->key() == Qt::Key_F1) {
        if (type == QEvent::ShortcutOverride) {
            // Keeps F1 from any shortcut so that the key press below gets it.
            event->accept();
            return true;
        }
        if (type == QEvent::KeyPress && !key->isAutoRepeat()) {
            OpenHtmlHelp();
        }
        return true;
    }
    if (type != QEvent::ShortcutOverride && mainFrame != nullptr &&
        QGuiApplication::platformName() == QLatin1String("xcb")) {
        // X11 key state: bit 1 is Caps Lock, bit 4 (Mod2) Num Lock, as they were before the key.
        const quint32 state = key->nativeModifiers();
        const bool capsKey = key->key() == Qt::Key_CapsLock && type == QEvent::KeyPress;
        const bool numKey = key->key() == Qt::Key_NumLock && type == QEvent::KeyPress;
        mainFrame->SetLockStates(((state & 0x2) != 0) != capsKey, ((state & 0x10) != 0) != numKey);
    }
    return false;
}
