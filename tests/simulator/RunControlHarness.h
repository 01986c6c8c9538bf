#pragma once

// What the run-control tests share: a window that records what run control asks of it, and a
// document-like bench with a machine, its breakpoint list, its flags and its run control.

#include "machine/C8085Object.h"
#include "machine/CMyException.h"
#include "simulator/CBreakpointList.h"
#include "simulator/CRunControl.h"
#include "simulator/CSimulatorFlags.h"
#include "simulator/CSimulatorWindow.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <initializer_list>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

// Called on the worker thread as well, so it records under a mutex.
class RecordingWindow : public CSimulatorWindow {
public:
    void RefreshAll() override {
        if (failRefresh) {
            throw std::runtime_error("refresh failed");
        }
        Record("RefreshAll");
    }
    void FollowPC() override { Record("FollowPC"); }
    void SetCaption(bool running) override { Record(running ? "[RUNNING]" : "[READY]"); }
    void UpdateToolbar(bool executing) override {
        Record(executing ? "Toolbar executing" : "Toolbar idle");
    }
    void FocusInstructions() override { Record("Focus"); }
    void ShowSourceLine(std::uint16_t address) override {
        if (sourceAddresses.count(address) == 0) {
            throw CMyException(0, StopCode::NoSourceLine, "No equivalent source line");
        }
        Record("SourceLine " + std::to_string(address));
    }
    void ShowStatusText(const std::string& text) override { Record("Status " + text); }
    void ShowException(const std::string& message) override { Record("Exception " + message); }
    void RequestClose() override { Record("RequestClose"); }

    std::vector<std::string> Events() const {
        std::lock_guard lock(mutex);
        return events;
    }
    std::vector<std::string> EventsStartingWith(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const auto& event : Events()) {
            if (event.rfind(prefix, 0) == 0) {
                found.push_back(event);
            }
        }
        return found;
    }
    void Clear() {
        std::lock_guard lock(mutex);
        events.clear();
    }
    // Waits until `event` has been recorded (or a generous time has passed).
    bool WaitFor(const std::string& event) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(10), [&] {
            for (const auto& e : events) {
                if (e == event) {
                    return true;
                }
            }
            return false;
        });
    }

    // Addresses the source view knows a line for; set before a run starts.
    std::set<std::uint16_t> sourceAddresses;
    // Makes RefreshAll throw, as a faulty window might.
    std::atomic<bool> failRefresh{false};

private:
    void Record(std::string event) {
        std::lock_guard lock(mutex);
        events.push_back(std::move(event));
        changed.notify_all();
    }

    mutable std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> events;
};

// A one-shot event between threads.
class Signal {
public:
    void Set() {
        std::lock_guard lock(mutex);
        set = true;
        changed.notify_all();
    }
    bool Wait() {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(10), [this] { return set; });
    }

private:
    std::mutex mutex;
    std::condition_variable changed;
    bool set = false;
};

// Machine, breakpoints, flags and window of one document, and the run control over them.
class RunBench : public CBreakpointList {
public:
    explicit RunBench(SystemCalls* devices = nullptr)
        : control(machine, *this, flags, window, devices) {
        flags.SetSimulatorOpen(true);
    }
    ~RunBench() override {
        // The worker may still call the window; stop it before the members go.
        control.Stop();
        control.WaitForRun();
    }

    C8085Object& GetMachine() override { return machine; }

    void Load(std::initializer_list<int> bytes, std::uint16_t at = 0) {
        for (int byte : bytes) {
            machine.memory[at++] = static_cast<std::uint8_t>(byte);
        }
    }

    bool FlagsClear() const { return !flags.IsExecuting() && !flags.IsRunInProgress(); }

    C8085Object machine;
    CSimulatorFlags flags;
    RecordingWindow window;
    CRunControl control;
};
