// Loads one text list through CTavikDoc::OnOpenDocument and prints the peak
// memory that loading added (VmHWM after minus VmRSS before), against the
// file size. Used by load_memory.sh.
//   load_peak FILE

#include "TavikDoc.h"

#include <QFileInfo>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

// A "Name:   123 kB" field of /proc/self/status, in bytes; -1 when missing.
long long StatusBytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::stoll(line.substr(field.size() + 1)) * 1024;
        }
    }
    return -1;
}

// Starts a new high-water mark at the current size (Linux 4.0 and later).
void ResetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const long long fileSize = QFileInfo(path).size();
    CTavikDoc doc;
    ResetPeak();
    const long long before = StatusBytes("VmRSS");
    QString error;
    if (!doc.OnOpenDocument(path, &error)) {
        std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
        return 1;
    }
    const long long peak = StatusBytes("VmHWM");
    const long long added = peak - before;
    std::printf("lines %zu\nfile_bytes %lld\npeak_added_bytes %lld\nratio %.2f\n",
                doc.m_lines.GetSize(), fileSize, added,
                fileSize > 0 ? double(added) / double(fileSize) : 0.0);
    return 0;
}
