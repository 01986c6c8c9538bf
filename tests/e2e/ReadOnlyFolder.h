#pragma once

#include "support/PrivateMounts.h"

#include <fcntl.h>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

// A folder of the test's own that the program may not write while the object lives, as an
// installed example folder or a class share is. A user is stopped by the folder's permissions;
// the superuser, whom permissions do not stop, by a read-only bind mount. That mount is made in a
// mount namespace of the calling thread's own (the program's user-interface thread, which does
// every open and save), so that nothing outside this test ever sees it.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::string path) : folder(std::move(path)) {
        if (geteuid() != 0) {
            made = chmod(folder.c_str(), 0555) == 0;
            return;
        }
        previousNamespace = open("/proc/thread-self/ns/mnt", O_RDONLY | O_CLOEXEC);
        made =
            previousNamespace >= 0 && PrivateMounts::Enter() && PrivateMounts::MakeReadOnly(folder);
    }
    ~ReadOnlyFolder() {
        if (geteuid() != 0) {
            chmod(folder.c_str(), 0755);
            return;
        }
        // Back to the namespace of the other threads; a thread started meanwhile that shares
        // this one's folder state keeps it from going back, and then the mount is taken away.
        if (previousNamespace >= 0 && setns(previousNamespace, CLONE_NEWNS) != 0) {
            umount2(folder.c_str(), MNT_DETACH);
        }
        if (previousNamespace >= 0) {
            close(previousNamespace);
        }
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    // False where neither way is open (the superuser without the right to mount).
    bool Made() const { return made; }

private:
    std::string folder;
    int previousNamespace = -1;
    bool made = false;
};
