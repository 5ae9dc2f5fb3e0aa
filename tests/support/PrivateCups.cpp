#include "PrivateCups.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

const std::string kScript = TAVIK_SOURCE_DIR "/tests/print/private-cups.sh";

} // namespace

ProcessResult StartPrivateCups(const std::string& dir, const std::vector<std::string>& queues) {
    static int started = 0; // a stopped service may still hold the last port
    const std::string port = std::to_string(20000 + (getpid() * 3 + started++) % 20000);
    std::vector<std::string> args = {kScript, "start", dir, port};
    args.insert(args.end(), queues.begin(), queues.end());
    ProcessResult r = RunProcess("/bin/bash", args);
    if (r.status == 0) {
        setenv("CUPS_SERVER", ("127.0.0.1:" + port).c_str(), 1);
    }
    return r;
}

void StopPrivateCups(const std::string& dir) {
    RunProcess("/bin/bash", {kScript, "stop", dir});
    unsetenv("CUPS_SERVER");
}

PrivateHome::PrivateHome(std::string home) : m_home(std::move(home)) {
    if (const char* real = std::getenv("HOME")) {
        m_saved = real;
    }
    std::filesystem::create_directories(m_home + "/.cups");
    setenv("HOME", m_home.c_str(), 1);
}

PrivateHome::~PrivateHome() {
    if (m_saved) {
        setenv("HOME", m_saved->c_str(), 1);
    } else {
        unsetenv("HOME");
    }
}

void PrivateHome::SetPrintOptions(const std::string& queue, const std::string& options) const {
    std::ofstream(m_home + "/.cups/lpoptions")
        << (options.empty() ? "" : "Dest " + queue + " " + options + "\n");
}
