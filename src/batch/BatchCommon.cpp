#include "BatchCommon.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

bool ReadAll(const std::string& path, std::string& out) {
    if (path == "-") {
        std::ostringstream s;
        s << std::cin.rdbuf();
        out = std::move(s).str();
        return !std::cin.bad();
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

void ReportRefused(const std::string& shown, long lineNumber) {
    if (lineNumber > 0) {
        std::cerr << "line " << lineNumber << ": ";
    }
    std::cerr << "Error while encoding text \"" << shown << "\".\n";
}

int Usage(const std::string& message) {
    std::cerr << "tavik-batch: " << message << "\n";
    return 2;
}
