#include "machine/CSerialPort.h"

#include "PseudoTerminal.h"
#include "ScopedEnvironment.h"
#include "SystemCallsFakes.h"
#include "machine/C8085Object.h"
#include "machine/CancelSignal.h"
#include "machine/SystemCalls.h"

#include <fstream>
#include <gtest/gtest.h>
#include <termios.h>

namespace {

std::optional<CMyException> OpenFails(CSerialPort& port, const std::string& name) {
    try {
        port.Open(name);
    } catch (const CMyException& error) {
        return error;
    }
    return std::nullopt;
}

TEST(CSerialPort, DeviceNamesComeFromTheEnvironment) {
    unsetenv("ZORVAN_COM1");
    unsetenv("ZORVAN_COM2");
    EXPECT_EQ(CSerialPort::DevicePath("COM1"), "/dev/ttyS0");
    EXPECT_EQ(CSerialPort::DevicePath("COM2"), "/dev/ttyS1");
    ScopedEnvironment com2("ZORVAN_COM2", "/dev/pts/77");
    EXPECT_EQ(CSerialPort::DevicePath("COM1"), "/dev/ttyS0");
    EXPECT_EQ(CSerialPort::DevicePath("COM2"), "/dev/pts/77");
}

TEST(CSerialPort, TransfersRawBytesBothWays) {
    PseudoTerminal line;
    ScopedEnvironment com1("ZORVAN_COM1", line.deviceName);
    CancelSignal cancel;
    CSerialPort port;
    port.Open("COM1");
    ASSERT_TRUE(port.IsOpen());

    // Raw mode: no line buffering, no CR/LF translation, no echo, control characters kept.
    line.Write(std::string("Z\r\x03\x00", 4));
    std::string received;
    for (int i = 0; i < 4; ++i) {
        const auto byte = port.ReceiveByte(cancel);
        ASSERT_TRUE(byte);
        received.push_back(static_cast<char>(*byte));
    }
    EXPECT_EQ(received, std::string("Z\r\x03\x00", 4));
    for (char c : std::string("\nA\xff", 3)) {
        EXPECT_TRUE(port.SendByte(static_cast<std::uint8_t>(c), cancel));
    }
    EXPECT_EQ(line.Read(), std::string("\nA\xff", 3));
    port.Close();
    EXPECT_FALSE(port.IsOpen());
}

TEST(CSerialPort, KeepsTheSpeedAndRestoresTheSettings) {
    PseudoTerminal line;
    termios before{};
    ASSERT_EQ(tcgetattr(line.slave, &before), 0);
    cfsetspeed(&before, B4800);
    before.c_lflag |= ICANON | ECHO;
    ASSERT_EQ(tcsetattr(line.slave, TCSANOW, &before), 0);

    CSerialPort port;
    port.Open(line.deviceName);
    termios during{};
    ASSERT_EQ(tcgetattr(line.slave, &during), 0);
    EXPECT_EQ(cfgetospeed(&during), static_cast<speed_t>(B4800));
    EXPECT_EQ(during.c_lflag & (ICANON | ECHO), 0u);
    port.Close();

    termios after{};
    ASSERT_EQ(tcgetattr(line.slave, &after), 0);
    EXPECT_EQ(cfgetospeed(&after), static_cast<speed_t>(B4800));
    EXPECT_EQ(after.c_lflag & (ICANON | ECHO), before.c_lflag & (ICANON | ECHO));
}

TEST(CSerialPort, MissingBusyOrNonTerminalDevicesCannotBeOpened) {
    PseudoTerminal line;
    const std::string regularFile = ::testing::TempDir() + "zorvan-not-a-tty";
    std::ofstream(regularFile) << "x";
    struct Row {
        const char* name;
        std::string device;
    };
    const Row rows[] = {{"COM1", "/nonexistent/zorvan-tty"}, {"COM2", regularFile}};
    for (const auto& row : rows) {
        ScopedEnvironment variable(row.name[3] == '1' ? "ZORVAN_COM1" : "ZORVAN_COM2", row.device);
        CSerialPort port;
        const auto error = OpenFails(port, row.name);
        ASSERT_TRUE(error) << row.device;
        EXPECT_EQ(error->code, 27);
        EXPECT_EQ(error->errorFlag, 1);
        EXPECT_EQ(error->message, std::string("Error opening ") + row.name);
        EXPECT_FALSE(port.IsOpen());
    }
    std::remove(regularFile.c_str());

    // A line in use by another port is busy until that port closes it.
    ScopedEnvironment com1("ZORVAN_COM1", line.deviceName);
    CSerialPort first;
    CSerialPort second;
    first.Open("COM1");
    const auto busy = OpenFails(second, "COM1");
    ASSERT_TRUE(busy);
    EXPECT_EQ(busy->message, "Error opening COM1");
    first.Close();
    EXPECT_FALSE(OpenFails(second, "COM1"));
    second.Close();
    // Closing leaves the line free for the next open, also for other processes' openers.
    EXPECT_FALSE(OpenFails(first, "COM1"));
}

TEST(CSerialPort, HangUpIsAnIoErrorWithTheSystemText) {
    CancelSignal cancel;
    for (const bool reading : {true, false}) {
        SCOPED_TRACE(reading ? "read" : "write");
        PseudoTerminal line;
        CSerialPort port;
        port.Open(line.deviceName);
        line.CloseMaster();
        try {
            if (reading) {
                port.ReceiveByte(cancel);
            } else {
                port.SendByte(1, cancel);
            }
            ADD_FAILURE() << "transfer after hang-up succeeded";
        } catch (const CMyException& error) {
            EXPECT_EQ(error.code, 28);
            EXPECT_EQ(error.errorFlag, 1);
            EXPECT_EQ(error.message, "Input/output error");
        }
        EXPECT_FALSE(port.IsOpen());
        // A line whose other end has gone cannot be opened again.
        const auto error = OpenFails(port, line.deviceName);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->code, 27);
    }
}

TEST(CSerialPort, AWriteIntoAFullLineEndsOnceCancelled) {
    PseudoTerminal line; // nobody reads the other end, so the line fills up
    CancelSignal cancel;
    CSerialPort port;
    port.Open(line.deviceName);
    cancel.Cancel();
    // A cancel only ends the wait for room: bytes the line has room for are still sent.
    constexpr int enough = 1 << 22;
    int sent = 0;
    while (sent < enough && port.SendByte('x', cancel)) {
        ++sent;
    }
    EXPECT_GT(sent, 0);
    EXPECT_LT(sent, enough) << "the line never filled";
    EXPECT_TRUE(port.IsOpen());
    port.Close();
    EXPECT_FALSE(port.IsOpen());
}

TEST(CSerialPort, SystemCallsUseBothPorts) {
    PseudoTerminal com1Line;
    PseudoTerminal com2Line;
    ScopedEnvironment com1("ZORVAN_COM1", com1Line.deviceName);
    ScopedEnvironment com2("ZORVAN_COM2", com2Line.deviceName);
    FakePrompt prompt;
    FakeBeeper beeper;
    FakeDelay delay;
    FakePrinter printer;
    CSerialPort port;
    SystemCalls calls({prompt, beeper, delay, port, printer});
    C8085Object machine;
    machine.SetSystemCallHandler(&calls);
    const auto call = [&machine](std::uint8_t a, std::uint8_t c) {
        machine.WriteByteAndWord(0, 0xCD, 0x0005);
        machine.pc = 0;
        machine.a = a;
        machine.c = c;
        machine.Step();
    };

    com2Line.Write("k");
    call(14, 1);
    EXPECT_EQ(machine.b, 'k');
    machine.b = 0x81;
    call(15, 0);
    EXPECT_EQ(com1Line.Read(), "\x81");
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(machine.pc, 3);
}

} // namespace
