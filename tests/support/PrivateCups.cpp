#include "PrivateCups.h"

#include <arpa/inet.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const std::string kScript = TAVIK_SOURCE_DIR "/tests/print/private-cups.sh";

// A loopback port nobody listens on now.
int FreeLoopbackPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof addr;
    int port = 0;
    if (fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&addr), size) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &size) == 0) {
        port = ntohs(addr.sin_port);
    }
    if (fd >= 0) {
        close(fd);
    }
    return port != 0 ? port : 20000 + getpid() % 20000;
}

} // namespace

ProcessResult StartPrivateCups(const std::string& dir, const std::vector<std::string>& queues) {
    // Tests run side by side: each service takes a port the kernel has just
    // found free, and tries again should another take it first.
    ProcessResult r;
    std::string errors;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::string port = std::to_string(FreeLoopbackPort());
        std::vector<std::string> args = {kScript, "start", dir, port};
        args.insert(args.end(), queues.begin(), queues.end());
        r = RunProcess("/bin/bash", args);
        if (r.status == 0) {
            setenv("CUPS_SERVER", ("127.0.0.1:" + port).c_str(), 1);
            return r;
        }
        errors += r.err;
        RunProcess("/bin/bash", {kScript, "stop", dir});
    }
    r.err = errors;
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
