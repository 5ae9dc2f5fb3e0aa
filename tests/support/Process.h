#pragma once

#include <string>
#include <vector>

// Result of running a program to completion.
struct ProcessResult {
    int status = -1; // exit status, or -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Runs program with args, feeding input on standard input; collects both outputs.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input = {});
