#include "Process.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string TempPath(const char* tag) {
    char name[] = "/tmp/tavik-proc-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) {
        throw std::runtime_error("mkstemp failed");
    }
    close(fd);
    return std::string(name) + tag;
}

class PrivateConfig {
public:
    PrivateConfig() {
        char name[] = "/tmp/tavik-config-XXXXXX";
        if (mkdtemp(name) == nullptr) {
            std::perror("mkdtemp");
            std::abort(); // never fall back on the user's settings
        }
        path = name;
        setenv("XDG_CONFIG_HOME", name, 1);
    }
    ~PrivateConfig() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    PrivateConfig(const PrivateConfig&) = delete;
    PrivateConfig& operator=(const PrivateConfig&) = delete;

    std::string path;
};

const PrivateConfig kPrivateConfig;

} // namespace

const std::string& TestConfigHome() {
    return kPrivateConfig.path;
}

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input) {
    const std::string base = TempPath("");
    const std::string inPath = base + ".in", outPath = base + ".out", errPath = base + ".err";
    std::ofstream(inPath, std::ios::binary) << input;

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid == 0) {
        if (!freopen(inPath.c_str(), "rb", stdin) || !freopen(outPath.c_str(), "wb", stdout) ||
            !freopen(errPath.c_str(), "wb", stderr)) {
            _exit(127);
        }
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);
    ProcessResult r;
    r.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    r.out = Slurp(outPath);
    r.err = Slurp(errPath);
    for (const std::string& p : {base, inPath, outPath, errPath}) {
        std::remove(p.c_str());
    }
    return r;
}
