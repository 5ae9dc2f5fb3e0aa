#include "PageCache.h"

#include <QPainter>

CPageCache::CPageCache(int capacity, QObject* parent) : QObject(parent), m_capacity(capacity) {}

QPicture CPageCache::Page(int page, const Draw& draw) {
    if (const auto it = m_pages.find(page); it != m_pages.end()) {
        m_recent.remove(page);
        m_recent.push_front(page);
        return it->second;
    }
    QPicture picture;
    {
        QPainter painter(&picture);
        draw(painter, page);
    }
    ++m_drawn;
    if (static_cast<int>(m_pages.size()) >= m_capacity) {
        m_pages.erase(m_recent.back());
        m_recent.pop_back();
    }
    m_pages.emplace(page, picture);
    m_recent.push_front(page);
    return picture;
}

void CPageCache::Clear() {
    m_pages.clear();
    m_recent.clear();
}
