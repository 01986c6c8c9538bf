#pragma once

#include <string>

// What zorvan-run and zorvan-grade share about their standard streams and exit statuses.
class StandardStreams {
public:
    static constexpr int ExitUsage = 64;      // a mistake on the command line
    static constexpr int ExitReportLost = 74; // the report could not be written

    // Opens /dev/null on whichever of the descriptors 0-2 the caller left closed, so that no file
    // or pipe opened later takes their place and is mistaken for a standard stream. Returns
    // whether standard output was closed: what goes there is lost.
    static bool ReopenClosed();

    // "PROGRAM: MESSAGE" and "Try 'PROGRAM --help'." on standard error.
    static void UsageError(const std::string& program, const std::string& message);

    // `status`, unless standard output could not be written (closed, full, or a failed write
    // whose errno is `problem`): then "PROGRAM: the report could not be written: REASON" on
    // standard error and ExitReportLost, so that a script never takes a lost report for a result.
    static int CheckReport(const std::string& program, int status, bool outputClosed,
                           int problem = 0);
};
