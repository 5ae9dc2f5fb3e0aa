#pragma once

#include <QString>

#include <cstddef>
#include <string>

// Reading whole files as a document opens them, with the reason when it fails.

// The largest file a document loads: 1 GiB.
constexpr std::size_t kMaxFileBytes = std::size_t{1} << 30;

// Reads fd to its end; false with errno set on a read error, ENOMEM when
// memory runs out, or EFBIG past limit bytes (a device such as /dev/zero).
bool ReadToEnd(int fd, std::string& bytes, std::size_t limit = kMaxFileBytes);

// The errno value ReadFileBytes sets for a FIFO, a device or a socket.
constexpr int kNotRegularFile = 0x10000;

// Reads the whole regular file at path (as the system names it) with
// ReadToEnd; false with errno set when it cannot be opened or read.
bool ReadFileBytes(const char* path, std::string& bytes);

// The reason for errno value error as a user reads it.
std::string ReadFailureReason(int error);

// Reads a whole file; false with a message naming it when it cannot be read.
bool ReadWholeFile(const QString& path, std::string& bytes, QString* error);
