#include "CupsDest.h"

CupsDest::CupsDest(const QString& printerName, http_t* http) : m_http(http) {
    const QByteArray name = printerName.section(QLatin1Char('/'), 0, 0).toLocal8Bit();
    const QByteArray instance = printerName.section(QLatin1Char('/'), 1).toLocal8Bit();
    m_dest.reset(cupsGetNamedDest(http, name.isEmpty() ? nullptr : name.constData(),
                                  instance.isEmpty() ? nullptr : instance.constData()));
}

cups_dinfo_t* CupsDest::Info() const {
    if (!m_infoAsked && m_dest) {
        m_infoAsked = true;
        m_info.reset(cupsCopyDestInfo(m_http, m_dest.get()));
    }
    return m_info.get();
}

QByteArray CupsDest::Option(const char* name) const {
    return m_dest ? QByteArray(cupsGetOption(name, m_dest->num_options, m_dest->options))
                  : QByteArray();
}

ipp_attribute_t* CupsDest::Supported(const char* name) const {
    cups_dinfo_t* info = Info();
    return info != nullptr ? cupsFindDestSupported(m_http, m_dest.get(), info, name) : nullptr;
}

ipp_attribute_t* CupsDest::Default(const char* name) const {
    cups_dinfo_t* info = Info();
    return info != nullptr ? cupsFindDestDefault(m_http, m_dest.get(), info, name) : nullptr;
}
