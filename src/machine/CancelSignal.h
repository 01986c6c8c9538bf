#pragma once

#include <atomic>
#include <chrono>

// Cancels the blocking device waits of a run (number prompt, serial read or write, delay, beep)
// from another thread, so that Stop or Close never has to wait for a device.
//
// Every blocking service waits with poll() on its own descriptor plus WakeFd(), which becomes
// readable as soon as Cancel() is called and stays readable until Rearm(). Cancel() only stores
// an atomic flag and writes one byte to a pipe, so it may be called from any thread and even from
// a signal handler (Ctrl+C in the command-line runner).
//
// Rearm() clears a cancel for the next run. Call it before a run starts, not while one is
// running: a Cancel() racing with Rearm() may be lost, never half-applied.
class CancelSignal {
public:
    CancelSignal();
    ~CancelSignal();
    CancelSignal(const CancelSignal&) = delete;
    CancelSignal& operator=(const CancelSignal&) = delete;

    void Cancel() noexcept;
    void Rearm() noexcept;
    bool IsCancelled() const noexcept { return cancelled.load(std::memory_order_acquire); }

    // Readable while cancelled; for poll() beside a device descriptor.
    int WakeFd() const noexcept { return readFd; }

    // Sleeps for `duration` unless cancelled first. Returns false when cancelled.
    bool SleepFor(std::chrono::milliseconds duration) const;

    // Waits until `fd` is readable (true) or the signal is cancelled (false). Throws
    // std::system_error when poll() itself fails.
    bool WaitReadable(int fd) const;
    // The same for room to write on `fd`.
    bool WaitWritable(int fd) const;

private:
    bool WaitFor(int fd, short events) const;

    std::atomic<bool> cancelled{false};
    int readFd = -1;
    int writeFd = -1;
};
