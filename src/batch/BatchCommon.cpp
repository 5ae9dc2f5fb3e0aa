#include "BatchCommon.h"

#include "BatchOptions.h"

#include "FileRead.h"
#include "LineList.h"
#include "MessageText.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <limits>
#include <string_view>

#include <unistd.h>

std::string LoadList(CLineList& lines, const std::string& input) {
    std::string bytes;
    const bool read =
        input == "-" ? ReadToEnd(STDIN_FILENO, bytes) : ReadFileBytes(input.c_str(), bytes);
    if (!read) {
        return "cannot read " + (input == "-" ? std::string("standard input") : input) + ": " +
               ReadFailureReason(errno);
    }
    lines.Load(std::move(bytes));
    return {};
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
