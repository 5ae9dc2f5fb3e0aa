#include "RecentFileList.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>

namespace {

// Long paths keep their start and their file name: "/home/a/…/dir/file.txt".
QString DisplayName(const QString& path) {
    constexpr int kMaxLength = 60;
    QString shown = QDir::toNativeSeparators(path);
    const QString home = QDir::homePath();
    if (!home.isEmpty() && home != QStringLiteral("/") && shown.startsWith(home + u'/')) {
        shown = u'~' + shown.mid(home.size());
    }
    if (shown.size() <= kMaxLength) {
        return shown;
    }
    const QString name = QFileInfo(path).fileName();
    const qsizetype head = std::max<qsizetype>(0, kMaxLength - name.size() - 2);
    return shown.left(head) + QStringLiteral("\u2026/") + name;
}

} // namespace

CRecentFileList::CRecentFileList(QString section, QString entryFormat, int size)
    : m_strSectionName(std::move(section)), m_strEntryFormat(std::move(entryFormat)),
      m_nSize(std::max(1, size)) {}

void CRecentFileList::Add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    m_files.removeAll(absolute);
    m_files.prepend(absolute);
    while (m_files.size() > m_nSize) {
        m_files.removeLast();
    }
}

void CRecentFileList::Remove(int index) {
    if (index >= 0 && index < m_files.size()) {
        m_files.removeAt(index);
    }
}

void CRecentFileList::ReadList(QSettings& settings) {
    m_files.clear();
    settings.beginGroup(m_strSectionName);
    for (int i = 1; i <= m_nSize; ++i) {
        const QString path = settings.value(m_strEntryFormat.arg(i)).toString();
        if (!path.isEmpty() && !m_files.contains(path)) {
            m_files.append(path);
        }
    }
    settings.endGroup();
}

void CRecentFileList::WriteList(QSettings& settings) const {
    settings.remove(m_strSectionName);
    settings.beginGroup(m_strSectionName);
    for (int i = 0; i < m_files.size(); ++i) {
        settings.setValue(m_strEntryFormat.arg(i + 1), m_files[i]);
    }
    settings.endGroup();
    settings.sync();
}

QString CRecentFileList::MenuText(int index) const {
    QString name = DisplayName(m_files.at(index));
    name.replace(u'&', QStringLiteral("&&"));
    const int n = index + 1;
    if (n < 10) {
        return QStringLiteral("&%1 %2").arg(n).arg(name);
    }
    if (n == 10) {
        return QStringLiteral("1&0 %1").arg(name);
    }
    return QStringLiteral("%1 %2").arg(n).arg(name);
}
