#pragma once

#include <string>
#include <vector>

// Result of running a program to completion.
struct ProcessResult {
    int status = -1; // exit status, or -1 when it did not exit normally
    std::string out;
    std::string err;
};

// The settings folder (XDG_CONFIG_HOME) of the programs a test program starts: a
// temporary folder of its own, set before any test runs and removed at exit, so no test
// touches the user's settings. A test may still set another for its own programs.
const std::string& TestConfigHome();

// Runs program with args, feeding input on standard input; collects both outputs.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input = {});
