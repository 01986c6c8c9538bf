// The main of the end-to-end tests: the program's application object built as main builds it, on
// the X server of DISPLAY (the test command starts one with a window manager), or on the
// offscreen platform when there is none, which it says. The user's settings and files are never
// touched: HOME, the XDG folders and the settings live in a temporary folder. Every Qt warning
// printed while a test runs fails that test.
#include "Program.h"
#include "app/ui/CMyZorvanApp.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>
#include <iostream>
#include <mutex>

namespace {

CMyZorvanApp* application = nullptr;
std::mutex warningLock;

bool offscreen = false;

// Test machines have no sound server; the beeper then stays silent, as the program intends. The
// offscreen platform, used only where no X server runs, says what it cannot do.
bool AboutTheMachine(const QString& message) {
    return message.startsWith(QLatin1String("PulseAudioService: pa_context_connect() failed")) ||
           (offscreen && message.startsWith(QLatin1String("This plugin does not support")));
}

void FailOnWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtDebugMsg || type == QtInfoMsg || AboutTheMachine(message)) {
        return;
    }
    const std::string text = message.toStdString();
    std::fprintf(stderr, "Qt %s: %s\n", type == QtWarningMsg ? "warning" : "error", text.c_str());
    const std::lock_guard<std::mutex> hold(warningLock);
    ADD_FAILURE_AT(context.file != nullptr ? context.file : "Qt", context.line)
        << "Qt printed: " << text;
}

// An X server answers on DISPLAY: its socket is there.
bool XServerAvailable() {
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty()) {
        return false;
    }
    if (!display.startsWith(':')) {
        return true; // a remote display; let Qt try it
    }
    const QByteArray number = display.mid(1).split('.').front();
    return QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X") + QString::fromLatin1(number));
}

} // namespace

CMyZorvanApp& TheApplication() {
    return *application;
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    QTemporaryDir home;
    if (!home.isValid()) {
        std::cerr << "e2e: no temporary folder\n";
        return 1;
    }
    for (const char* folder : {"config", "data", "cache", "runtime"}) {
        QDir(home.path()).mkpath(QString::fromLatin1(folder));
    }
    QFile::setPermissions(home.path() + "/runtime",
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (home.path() + "/cache").toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", (home.path() + "/runtime").toLocal8Bit());
    // No desktop integration: no platform theme, no accessibility bus of the machine.
    qputenv("QT_QPA_PLATFORMTHEME", "");
    qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "0");
    qputenv("NO_AT_BRIDGE", "1");
    if (XServerAvailable()) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        offscreen = true;
        std::cout << "e2e: no X server on DISPLAY; running on the offscreen platform, without a "
                     "window manager\n";
    }
    qInstallMessageHandler(FailOnWarnings);
    CMyZorvanApp program(argc, argv);
    application = &program;
    const int status = RUN_ALL_TESTS();
    application = nullptr;
    return status;
}
