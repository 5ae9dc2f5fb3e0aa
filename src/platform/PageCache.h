#pragma once

#include <QObject>
#include <QPicture>

#include <functional>
#include <list>
#include <map>

class QPainter;

// Drawn pages kept for showing again: the most recently used few, each drawn
// once while it stays. The print preview keeps one as its child.
class CPageCache : public QObject {
    Q_OBJECT

public:
    using Draw = std::function<void(QPainter& painter, int page)>;

    CPageCache(int capacity, QObject* parent);

    // Page `page`, drawn with draw unless it is kept.
    QPicture Page(int page, const Draw& draw);
    void Clear();

    int Size() const { return static_cast<int>(m_pages.size()); }
    // Pages drawn since it was made.
    int Drawn() const { return m_drawn; }

private:
    int m_capacity;
    int m_drawn = 0;
    std::map<int, QPicture> m_pages;
    std::list<int> m_recent; // most recently used first
};
