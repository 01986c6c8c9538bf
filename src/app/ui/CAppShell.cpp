#include "app/ui/CAppShell.h"

#include "app/ui/CAppInfo.h"
#include "app/ui/CDocumentHolder.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CMyZorvanView.h"
#include "app/ui/CSplash.h"
#include "dialogs/MessageBoxes.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>

#ifdef ZORVAN_HAVE_XCB
#include <QGuiApplication>
#include <xcb/xcb.h>
#endif

namespace {

// X11 key state bits: Lock is Caps Lock, Mod2 Num Lock.
constexpr quint32 capsLockBit = 0x2;
constexpr quint32 numLockBit = 0x10;

// The lock keys' state as the X server has it now, when the program runs under X.
bool QueryLockState(quint32& state) {
#ifdef ZORVAN_HAVE_XCB
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) {
        return false;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (screen == nullptr) {
        return false;
    }
    xcb_query_pointer_reply_t* reply =
        xcb_query_pointer_reply(connection, xcb_query_pointer(connection, screen->root), nullptr);
    if (reply == nullptr) {
        return false;
    }
    state = reply->mask;
    free(reply);
    return true;
#else
    state = 0;
    return false;
#endif
}

} // namespace

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
    exampleFolders = {
        programFolder.filePath(QStringLiteral("examples")),
        QDir::cleanPath(programFolder.filePath(QStringLiteral("../share/zorvan/examples")))};
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
    mainFrame->SetViewFactory([](CDocumentHolder& holder, QWidget* parent) -> QWidget* {
        return new CMyZorvanView(holder.SourceLink(), parent);
    });
    mainFrame->helpHandler = [this] { OpenHtmlHelp(); };
    mainFrame->SetExampleFolders(exampleFolders);
    // Right from the start, not only after the first key.
    if (quint32 state = 0; QueryLockState(state)) {
        mainFrame->SetLockStates((state & capsLockBit) != 0, (state & numLockBit) != 0);
    }
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
        mainFrame->SetLockStates(((state & capsLockBit) != 0) != capsKey,
                                 ((state & numLockBit) != 0) != numKey);
    }
    return false;
}
