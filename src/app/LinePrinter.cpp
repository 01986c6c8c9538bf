#include "app/LinePrinter.h"

#include "files/UserFolders.h"
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

// The folder of the default printer file; throws code 30 when the user has none, rather than
// writing into whatever the current folder is.
std::string DataFolder() {
    const auto data = UserFolders::DataHome();
    if (!data) {
        throw CMyException(1, StopCode::Printing,
                           "Cannot find a folder for the printer file: neither XDG_DATA_HOME nor "
                           "HOME names an absolute path (set ZORVAN_LPT1 to choose the file)");
    }
    return *data + "/Zorvan";
}

// A temporary file holding `text`, read from its start. Its name is removed at once, so nothing
// stays behind whatever becomes of the print or of this program. Throws code 30 when it cannot
// be made.
int WriteTemporaryFile(const std::string& text) {
    auto folder = Environment("TMPDIR");
    if (folder.empty()) {
        folder = "/tmp";
    }
    std::string path = folder + "/zorvan-printXXXXXX";
    const int fd = mkostemp(path.data(), O_CLOEXEC);
    bool written = fd >= 0;
    if (written) {
        unlink(path.c_str());
        // A full disk: no half text goes to the printer.
        written = WriteAll(fd, text, nullptr) == Outcome::Done && lseek(fd, 0, SEEK_SET) == 0;
        if (!written) {
            close(fd);
        }
    }
    if (!written) {
        throw CMyException(1, StopCode::Printing,
                           "Cannot open temporary file<" + path + "> used for printing");
    }
    return fd;
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

Outcome AppendFileTo(int in, const std::string& target, const CancelSignal& cancel) {
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
    return outcome;
}

void Reap(pid_t child) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
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

// Runs `command` through the shell with the text on its standard input and "/dev/stdin" as its
// last argument, so that a command that wants a file name reads the same text, and waits for it.
// A cancelled wait leaves the command printing: a thread of its own reaps it when it ends.
void RunPrintCommand(const std::string& command, int text, const CancelSignal& cancel) {
    const std::string script = command + " \"$1\"";
    const char* argv[] = {"/bin/sh", "-c", script.c_str(), "zorvan-print", "/dev/stdin", nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, text, STDIN_FILENO);
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
        posix_spawn(&child, "/bin/sh", &actions, &attributes, const_cast<char**>(argv), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        return;
    }
    if (WaitForCommand(child, cancel)) {
        Reap(child);
        return;
    }
    try {
        std::thread(Reap, child).detach();
    } catch (const std::system_error&) {
        Reap(child); // no thread to spare: wait here after all
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
    const auto command = Environment("ZORVAN_PRINT_COMMAND");
    // Known before anything is made: without a home there is nowhere to print to.
    const std::string target = command.empty() ? OutputPath() : std::string();
    const int file = WriteTemporaryFile(text);
    struct Closer {
        int fd;
        ~Closer() { close(fd); }
    } const closer{file};
    if (!command.empty()) {
        RunPrintCommand(command, file, cancel);
        return true;
    }
    if (Environment("ZORVAN_LPT1").empty()) {
        UserFolders::MakeFolders(DataFolder());
    }
    const Outcome outcome = AppendFileTo(file, target, cancel);
    if (outcome == Outcome::ReaderGone) {
        throw CMyException(1, StopCode::Printing,
                           "The printer <" + target + "> stopped reading: " + std::strerror(EPIPE));
    }
    return outcome != Outcome::Cancelled;
}
