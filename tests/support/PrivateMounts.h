#pragma once

#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// Runs a test body in a child process, so that it may change what belongs to the whole process
// (its limits, its mounts) without touching the other tests. With a mount namespace of its own
// it can make a folder read-only or put a tiny file system under it even as root, whom
// permissions do not stop; those mounts are seen by the child alone and go away with it. The
// child's failures are printed as usual and make the parent's test fail.
namespace PrivateMounts {

enum class Outcome { Passed, Failed, Unavailable };

// A bind mount of `folder` onto itself, then made read-only.
inline bool MakeReadOnly(const std::string& folder) {
    return mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) == 0 &&
           mount(nullptr, folder.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

// An empty file system of `kilobytes` on `folder`, so that writing more fills the disk.
inline bool MountSmallFileSystem(const std::string& folder, int kilobytes) {
    const std::string options = "size=" + std::to_string(kilobytes) + "k";
    return mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
}

// Gives the calling process mounts of its own, not shared with anyone.
inline bool Enter() {
    return unshare(CLONE_NEWNS) == 0 &&
           mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

// Runs `setUp` (false: what the test needs cannot be had here) and then `body` in a child.
inline Outcome RunInChild(const std::function<bool()>& setUp, const std::function<void()>& body,
                          std::chrono::seconds bound = std::chrono::seconds(60)) {
    constexpr int unavailable = 77;
    std::fflush(stdout);
    const pid_t child = fork();
    if (child < 0) {
        return Outcome::Unavailable;
    }
    if (child == 0) {
        if (!setUp()) {
            _exit(unavailable);
        }
        body();
        std::fflush(stdout);
        _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            ADD_FAILURE() << "the checks in the private mount namespace did not end in time";
            return Outcome::Failed;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == unavailable) {
        return Outcome::Unavailable;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? Outcome::Passed : Outcome::Failed;
}

// RunInChild with mounts of the child's own, made by `mounts`.
inline Outcome Run(const std::function<bool()>& mounts, const std::function<void()>& body) {
    return RunInChild([&mounts] { return Enter() && mounts(); }, body);
}

} // namespace PrivateMounts
