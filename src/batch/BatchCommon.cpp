#include "BatchCommon.h"

#include "Document.h"
#include "PrintChecks.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include <unistd.h>

bool ReadAll(const std::string& path, std::string& out) {
    if (path == "-") {
        return ReadToEnd(STDIN_FILENO, out);
    }
    return ReadFileBytes(path.c_str(), out);
}

void ReportRefused(const std::string& shown, long lineNumber) {
    std::cerr << RefusedRowMessage(shown, lineNumber) << "\n";
}

int Usage(const std::string& message) {
    std::cerr << "tavik-batch: " << message << "\n";
    return 2;
}

int FinishOutput(int status) {
    std::cout.flush();
    if (std::fflush(stdout) != 0 || std::ferror(stdout) || !std::cout) {
        return Usage(std::string("cannot write to standard output: ") + std::strerror(errno));
    }
    return status;
}
