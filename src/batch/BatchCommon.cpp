#include "BatchCommon.h"

#include "Document.h"

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

std::string Shown(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F) {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

void ReportRefused(const std::string& shown, long lineNumber) {
    if (lineNumber > 0) {
        std::cerr << "line " << lineNumber << ": ";
    }
    std::cerr << "Error while encoding text \"" << Shown(shown) << "\".\n";
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
