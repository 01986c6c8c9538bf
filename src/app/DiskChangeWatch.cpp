#include "app/DiskChangeWatch.h"

void DiskChangeWatch::Remember(const DiskFileState& state) {
    known = state;
    acknowledged.reset();
}

void DiskChangeWatch::Forget() {
    known.reset();
    acknowledged.reset();
}

DiskChangeWatch::Action DiskChangeWatch::Decide(const DiskFileState& now, bool modified,
                                                Occasion occasion) const {
    if (!known || now == *known || (acknowledged && now == *acknowledged)) {
        return Action::None;
    }
    if (!now.exists) {
        // Saving writes the file again, which is all there is to do about it.
        return occasion == Occasion::BeforeSave ? Action::None : Action::TellDeleted;
    }
    return modified ? Action::AskReload : Action::Reload;
}

void DiskChangeWatch::Acknowledge(const DiskFileState& now) {
    acknowledged = now;
}
