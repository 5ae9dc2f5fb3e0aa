#pragma once

#include <QString>
#include <QStringList>

class QSettings;

// The most-recently-used file list: newest first, at most a fixed number of
// entries, each path kept once.
class CRecentFileList {
public:
    CRecentFileList(QString section, QString entryFormat, int size);

    int GetSize() const { return m_nSize; }
    int GetCount() const { return static_cast<int>(m_files.size()); }
    const QString& operator[](int index) const { return m_files.at(index); }
    const QStringList& Files() const { return m_files; }

    // Puts path (made absolute) first, dropping its older entry and the oldest
    // beyond the size.
    void Add(const QString& path);
    void Remove(int index);

    // Entries "File1" ... "FileN" of the section; gaps and empty values are skipped.
    void ReadList(QSettings& settings);
    // Writes the whole section, so removed entries disappear.
    void WriteList(QSettings& settings) const;

    // Menu text of entry index: "&1 name" ... "1&0 name", then "11 name";
    // '&' in the name doubled.
    QString MenuText(int index) const;

private:
    QString m_strSectionName;
    QString m_strEntryFormat;
    int m_nSize;
    QStringList m_files;
};
