#pragma once

#include "Process.h"

#include <optional>
#include <string>
#include <vector>

// A private print service on loopback (tests/print/private-cups.sh) in dir with
// the queues given (a PPD queue, then optionally a ZPL label printer queue);
// CUPS_SERVER names it for this process and the programs it starts.
ProcessResult StartPrivateCups(const std::string& dir, const std::vector<std::string>& queues);
// Stops it and unsets CUPS_SERVER.
void StopPrivateCups(const std::string& dir);

// While alive, HOME is home: the user's print options (~/.cups/lpoptions) are
// the test's own, never the real user's.
class PrivateHome {
public:
    explicit PrivateHome(std::string home);
    ~PrivateHome();
    PrivateHome(const PrivateHome&) = delete;
    PrivateHome& operator=(const PrivateHome&) = delete;

    // The user's default options for queue ("Resolution=300dpi"); empty: none.
    void SetPrintOptions(const std::string& queue, const std::string& options) const;

private:
    std::string m_home;
    std::optional<std::string> m_saved;
};
