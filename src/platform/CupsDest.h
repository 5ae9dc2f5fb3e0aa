#pragma once

#include <QByteArray>
#include <QString>

#include <cups/cups.h>

#include <memory>

// A print queue as the print service describes it: its options (the user's
// default options among them) and the values it supports and defaults to.
class CupsDest {
public:
    // "queue" or "queue/instance"; empty names the default queue.
    explicit CupsDest(const QString& printerName, http_t* http = CUPS_HTTP_DEFAULT);

    explicit operator bool() const { return m_dest != nullptr; }
    cups_dest_t* Dest() const { return m_dest.get(); }
    // What the queue supports; null when the service does not say.
    cups_dinfo_t* Info() const;

    QByteArray Option(const char* name) const;
    ipp_attribute_t* Supported(const char* name) const;
    ipp_attribute_t* Default(const char* name) const;

private:
    struct FreeDest {
        void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
    };
    struct FreeInfo {
        void operator()(cups_dinfo_t* info) const { cupsFreeDestInfo(info); }
    };
    http_t* m_http;
    std::unique_ptr<cups_dest_t, FreeDest> m_dest;
    mutable std::unique_ptr<cups_dinfo_t, FreeInfo> m_info;
    mutable bool m_infoAsked = false;
};
