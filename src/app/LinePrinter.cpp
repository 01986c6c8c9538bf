#include "app/LinePrinter.h"

#include "machine/CMyException.h"
#include "machine/CancelSignal.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <string_view>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

using namespace std::chrono_literals;

// How often a FIFO without a reader is tried again: the open cannot be waited for with poll.
constexpr auto readerRetry = 10ms;

enum class Outcome { Done, Cancelled, ReaderGone, Failed };

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// A reader that goes away raises SIGPIPE on the writing thread. Blocked around the write and
// taken back off the thread afterwards, it can neither kill the process nor reach another
// thread, and the write reports EPIPE instead.
class SigpipeBlocked {
public:
    SigpipeBlocked() {
        sigemptyset(&pipeOnly);
        sigaddset(&pipeOnly, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipeOnly, &previous);
    }
    ~SigpipeBlocked() {
        if (sigismember(&previous, SIGPIPE) == 0) {
            const timespec now{};
            while (sigtimedwait(&pipeOnly, nullptr, &now) > 0) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    }
    SigpipeBlocked(const SigpipeBlocked&) = delete;
    SigpipeBlocked& operator=(const SigpipeBlocked&) = delete;

private:
    sigset_t pipeOnly{};
    sigset_t previous{};
};

// Writes all of `bytes`; on a descriptor opened non-blocking, waits for room with `cancel`.
Outcome WriteAll(int fd, std::string_view bytes, const CancelSignal* cancel) {
    while (!bytes.empty()) {
        const auto put = write(fd, bytes.data(), bytes.size());
        if (put >= 0) {
            bytes.remove_prefix(static_cast<std::size_t>(put));
        } else if (errno == EAGAIN && cancel != nullptr) {
            if (!cancel->WaitWritable(fd)) {
                return Outcome::Cancelled;
            }
        } else if (errno == EPIPE) {
            return Outcome::ReaderGone;
        } else if (errno != EINTR) {
            return Outcome::Failed;
        }
    }
    return Outcome::Done;
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

// The temporary file holding `text`; throws code 30 when it cannot be made.
std::string WriteTemporaryFile(const std::string& text) {
    auto folder = Environment("TMPDIR");
    if (folder.empty()) {
        folder = "/tmp";
    }
    std::string path = folder + "/zorvan-printXXXXXX";
    const int fd = mkostemp(path.data(), O_CLOEXEC);
    bool written = fd >= 0;
    if (written) {
        written = WriteAll(fd, text, nullptr) == Outcome::Done;
        written = close(fd) == 0 && written;
        if (!written) {
            unlink(path.c_str()); // a full disk: no half text goes to the printer
        }
    }
    if (!written) {
        throw CMyException(1, StopCode::Printing,
                           "Cannot open temporary file<" + path + "> used for printing");
    }
    return path;
}

// Opens the printer file, FIFO or device without blocking: a FIFO without a reader is tried
// again until one comes or `cancel` fires. -1 when it cannot be opened.
int OpenTarget(const std::string& target, const CancelSignal& cancel, Outcome& outcome) {
    for (;;) {
        const int fd =
            open(target.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
        if (fd >= 0) {
            return fd;
        }
        if (errno == ENXIO) {
            if (!cancel.SleepFor(readerRetry)) {
                outcome = Outcome::Cancelled;
                return -1;
            }
        } else if (errno != EINTR) {
            outcome = Outcome::Failed;
            return -1;
        }
    }
}

Outcome AppendFileTo(const std::string& source, const std::string& target,
                     const CancelSignal& cancel) {
    const int in = open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        return Outcome::Failed;
    }
    Outcome outcome = Outcome::Done;
    const int out = OpenTarget(target, cancel, outcome);
    if (out >= 0) {
        const SigpipeBlocked blocked;
        char buffer[4096];
        ssize_t got = 0;
        while (outcome == Outcome::Done && (got = read(in, buffer, sizeof buffer)) > 0) {
            outcome =
                WriteAll(out, std::string_view(buffer, static_cast<std::size_t>(got)), &cancel);
        }
        close(out);
    }
    close(in);
    return outcome;
}

void Reap(pid_t child, const std::string& path) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    unlink(path.c_str());
}

// Waits for the command to end, or until `cancel` fires (false).
bool WaitForCommand(pid_t child, const CancelSignal& cancel) {
    const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, child, 0));
    if (pidfd >= 0) {
        // Readable once the command has ended.
        const bool ended = cancel.WaitReadable(pidfd);
        close(pidfd);
        return ended;
    }
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (!cancel.SleepFor(readerRetry)) {
            return false;
        }
    }
    return true;
}

// Runs `command` through the shell with `path` as its last argument and waits for it; the file
// is removed once the command has ended. A cancelled wait leaves the command printing: a thread
// of its own reaps it and removes the file then.
void RunPrintCommand(const std::string& command, const std::string& path,
                     const CancelSignal& cancel) {
    const std::string script = command + " \"$1\"";
    const char* argv[] = {"/bin/sh", "-c", script.c_str(), "zorvan-print", path.c_str(), nullptr};
    // The command gets the usual SIGPIPE even where this process ignores it.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t child = 0;
    const int failed =
        posix_spawn(&child, "/bin/sh", nullptr, &attributes, const_cast<char**>(argv), environ);
    posix_spawnattr_destroy(&attributes);
    if (failed != 0) {
        unlink(path.c_str());
        return;
    }
    if (WaitForCommand(child, cancel)) {
        Reap(child, path);
        return;
    }
    try {
        std::thread(Reap, child, path).detach();
    } catch (const std::system_error&) {
        Reap(child, path); // no thread to spare: wait here after all
    }
}

} // namespace

std::string LinePrinter::OutputPath() {
    const auto configured = Environment("ZORVAN_LPT1");
    return configured.empty() ? DataFolder() + "/LPT1.txt" : configured;
}

void LinePrinter::PrintText(const std::string& text) {
    const CancelSignal never;
    PrintText(text, never);
}

bool LinePrinter::PrintText(const std::string& text, const CancelSignal& cancel) {
    const std::string path = WriteTemporaryFile(text);
    const auto command = Environment("ZORVAN_PRINT_COMMAND");
    if (!command.empty()) {
        RunPrintCommand(command, path, cancel);
        return true;
    }
    const auto target = OutputPath();
    if (Environment("ZORVAN_LPT1").empty()) {
        MakeFolders(DataFolder());
    }
    const Outcome outcome = AppendFileTo(path, target, cancel);
    unlink(path.c_str());
    if (outcome == Outcome::ReaderGone) {
        throw CMyException(1, StopCode::Printing,
                           "The printer <" + target + "> stopped reading: " + std::strerror(EPIPE));
    }
    return outcome != Outcome::Cancelled;
}
