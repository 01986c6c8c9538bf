#include "app/LinePrinter.h"

#include "machine/CMyException.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <string_view>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const auto put = write(fd, bytes.data(), bytes.size());
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

// Creates each missing folder of `path` (like mkdir -p); failures show up when the file is
// opened.
void MakeFolders(const std::string& path) {
    for (auto slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        mkdir(path.substr(0, slash).c_str(), 0777);
    }
    mkdir(path.c_str(), 0777);
}

std::string DataFolder() {
    const auto data = Environment("XDG_DATA_HOME");
    if (!data.empty()) {
        return data + "/Zorvan";
    }
    const auto home = Environment("HOME");
    return (home.empty() ? std::string(".") : home) + "/.local/share/Zorvan";
}

void AppendFileTo(const std::string& source, const std::string& target) {
    const int in = open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        return;
    }
    const int out = open(target.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (out >= 0) {
        char buffer[4096];
        ssize_t got = 0;
        while ((got = read(in, buffer, sizeof buffer)) > 0 &&
               WriteAll(out, std::string_view(buffer, static_cast<std::size_t>(got)))) {
        }
        close(out);
    }
    close(in);
}

// Runs `command` through the shell with `path` as its last argument and waits for it.
void RunPrintCommand(const std::string& command, const std::string& path) {
    const std::string script = command + " \"$1\"";
    const char* argv[] = {"/bin/sh", "-c", script.c_str(), "zorvan-print", path.c_str(), nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
        return;
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

} // namespace

std::string LinePrinter::OutputPath() {
    const auto configured = Environment("ZORVAN_LPT1");
    return configured.empty() ? DataFolder() + "/LPT1.txt" : configured;
}

void LinePrinter::PrintText(const std::string& text) {
    auto folder = Environment("TMPDIR");
    if (folder.empty()) {
        folder = "/tmp";
    }
    std::string path = folder + "/zorvan-printXXXXXX";
    const int fd = mkostemp(path.data(), O_CLOEXEC);
    bool written = fd >= 0;
    if (written) {
        written = WriteAll(fd, text);
        written = close(fd) == 0 && written;
        if (!written) {
            unlink(path.c_str()); // a full disk: no half text goes to the printer
        }
    }
    if (!written) {
        throw CMyException(1, StopCode::Printing,
                           "Cannot open temporary file<" + path + "> used for printing");
    }

    const auto command = Environment("ZORVAN_PRINT_COMMAND");
    if (!command.empty()) {
        RunPrintCommand(command, path);
    } else {
        const auto target = OutputPath();
        if (Environment("ZORVAN_LPT1").empty()) {
            MakeFolders(DataFolder());
        }
        AppendFileTo(path, target);
    }
    unlink(path.c_str());
}
