// Cost of the system calls and devices: a display call through the machine, typed-number
// parsing, one serial byte (each call opens and closes the port) and one printed text (a new
// temporary file each time).

#include "app/DeviceSet.h"
#include "app/LinePrinter.h"
#include "machine/Beeper.h"
#include "machine/C8085Object.h"
#include "machine/CSerialPort.h"
#include "machine/CancelSignal.h"
#include "simulator/NumberDialog.h"
#include "simulator/ParseTypedNumber.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

struct SilentBeeper : Beeper {
    void Beep(int, int, const CancelSignal&) override {}
};
struct NoDialog : NumberDialog {
    std::optional<std::string> Show(const std::string&, const std::string&,
                                    const CancelSignal&) override {
        return std::nullopt;
    }
    void ShowWarning(const std::string&, const CancelSignal&) override {}
};

void BM_DisplaySystemCall(benchmark::State& state) {
    NoDialog dialog;
    SilentBeeper beeper;
    DeviceSet devices(dialog, {.beeper = &beeper});
    C8085Object machine;
    devices.Attach(machine);
    machine.WriteByteAndWord(0, 0xCD, 0x0005);
    machine.h = 0x12;
    machine.l = 0xAB;
    machine.c = 1;
    for (auto _ : state) {
        machine.pc = 0;
        machine.a = 11; // H and L as four digits
        machine.Step();
    }
    benchmark::DoNotOptimize(machine.GetLedCell(2));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DisplaySystemCall);

void BM_ParseTypedNumber(benchmark::State& state) {
    const char* texts[] = {"0x12AB", "017", "65535", " -42", "0xffff", "bad"};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseTypedNumber(texts[i++ % std::size(texts)]));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseTypedNumber);

void BM_SerialByteRoundTrip(benchmark::State& state) {
    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        state.SkipWithError("openpty failed");
        return;
    }
    termios raw{};
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);
    CancelSignal cancel;
    CSerialPort port;
    for (auto _ : state) {
        // As system calls 15 and 14 do it: open, one byte, close.
        port.Open(name);
        port.SendByte(0x55, cancel);
        port.Close();
        char echo = 0;
        benchmark::DoNotOptimize(read(master, &echo, 1));
        benchmark::DoNotOptimize(write(master, &echo, 1));
        port.Open(name);
        benchmark::DoNotOptimize(port.ReceiveByte(cancel));
        port.Close();
    }
    close(master);
    close(slave);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SerialByteRoundTrip);

void BM_PrintOneCharacter(benchmark::State& state) {
    const auto out = std::filesystem::temp_directory_path() / "zorvan-bench-lpt1.txt";
    setenv("ZORVAN_LPT1", out.c_str(), 1);
    unsetenv("ZORVAN_PRINT_COMMAND");
    LinePrinter printer;
    for (auto _ : state) {
        printer.PrintText("x");
    }
    std::filesystem::remove(out);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PrintOneCharacter);

} // namespace

BENCHMARK_MAIN();
