#pragma once

#include "machine/Beeper.h"
#include "machine/CMyException.h"
#include "machine/CancelSignal.h"
#include "machine/Delay.h"
#include "machine/NumberPrompt.h"
#include "machine/Printer.h"
#include "machine/SerialPort.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// Device services that record what the system calls asked of them.

struct FakePrompt : NumberPrompt {
    struct Request {
        int min, max;
        std::string text, initial;
    };
    std::vector<Request> requests;
    std::optional<int> answer; // nullopt: the user cancels
    std::function<void()> whileOpen;

    bool PromptForNumber(int& result, int min, int max, const std::string& promptText,
                         const std::string& initialText, const CancelSignal&) override {
        requests.push_back({min, max, promptText, initialText});
        if (whileOpen) {
            whileOpen();
            return false;
        }
        if (answer) {
            result = *answer;
        }
        return answer.has_value();
    }
};

struct FakeBeeper : Beeper {
    std::vector<std::pair<int, int>> beeps;
    std::function<void()> whileBeeping;
    void Beep(int frequencyHz, int durationMs, const CancelSignal&) override {
        beeps.emplace_back(frequencyHz, durationMs);
        if (whileBeeping) {
            whileBeeping();
        }
    }
};

struct FakeDelay : Delay {
    std::vector<long long> waits;
    std::function<void()> whileWaiting;
    void Wait(std::chrono::milliseconds duration, const CancelSignal&) override {
        waits.push_back(duration.count());
        if (whileWaiting) {
            whileWaiting();
        }
    }
};

struct FakeSerial : SerialPort {
    std::vector<std::string> log;
    std::optional<std::uint8_t> incoming = 0;
    std::optional<CMyException> failure; // thrown by Open, ReceiveByte or SendByte
    std::string failIn;

    void Fail(const char* where) {
        if (failure && failIn == where) {
            throw *failure;
        }
    }
    void Open(const std::string& name) override {
        log.push_back("open " + name);
        Fail("open");
    }
    std::optional<std::uint8_t> ReceiveByte(const CancelSignal&) override {
        log.push_back("receive");
        Fail("receive");
        return incoming;
    }
    std::function<void()> whileSending; // the line is full: the byte waits for room
    bool SendByte(std::uint8_t value, const CancelSignal& cancel) override {
        log.push_back("send " + std::to_string(value));
        Fail("send");
        if (whileSending) {
            whileSending();
        }
        return !cancel.IsCancelled();
    }
    void Close() override { log.push_back("close"); }
};

struct FakePrinter : Printer {
    std::vector<std::string> texts;
    bool PrintText(const std::string& text, const CancelSignal&) override {
        texts.push_back(text);
        return true;
    }
};
