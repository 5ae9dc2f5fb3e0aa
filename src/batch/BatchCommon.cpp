#include "BatchCommon.h"

#include "BatchOptions.h"

#include "Document.h"
#include "MessageText.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <limits>
#include <string_view>

#include <unistd.h>

bool ReadAll(const std::string& path, std::string& out) {
    if (path == "-") {
        return ReadToEnd(STDIN_FILENO, out);
    }
    return ReadFileBytes(path.c_str(), out);
}

std::string Shown(const std::string& text) {
    return MessageTextUtf8(text, std::numeric_limits<std::size_t>::max());
}

int Usage(const std::string& message) {
    constexpr std::string_view prefix = "tavik-batch: ";
    std::cerr << prefix << MessageTextUtf8(message, kMaxMessageChars - prefix.size()) << "\n";
    return 2;
}

int FinishOutput(int status) {
    std::cout.flush();
    if (std::fflush(stdout) != 0 || std::ferror(stdout) || !std::cout) {
        return Usage(std::string("cannot write to standard output: ") + std::strerror(errno));
    }
    return status;
}

RowReporter MakeRowReporter(const BatchOptions& o, std::function<void()> beforeMessage) {
    std::FILE* out = o.check ? stdout : stderr;
    return RowReporter(static_cast<Symbology>(o.type), o.strict, o.trueType,
                       [out, before = std::move(beforeMessage)](const std::string& line) {
                           if (before) {
                               before();
                           }
                           std::fprintf(out, "%s\n", line.c_str());
                       });
}
