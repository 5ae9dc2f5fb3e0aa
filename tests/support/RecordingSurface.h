#pragma once

#include "DrawSurface.h"

#include <map>
#include <vector>

// A drawing surface that records what is drawn, for tests.
class CRecordingSurface : public CDrawSurface {
public:
    struct PenInfo {
        int width = 0;
        COLORREF colour = 0;
        bool deleted = false;
    };
    struct Line {
        int x, y0, y1, width;
        COLORREF colour;
    };

    Pen CreateSolidPen(int width, COLORREF colour) override {
        pens[++lastPen] = PenInfo{width, colour, false};
        ++created;
        return lastPen;
    }
    Pen SelectPen(Pen pen) override {
        ++selects;
        const Pen old = selected;
        selected = pen;
        return old;
    }
    void MoveTo(int x, int y) override {
        curX = x;
        curY = y;
    }
    void LineTo(int x, int y) override {
        const PenInfo& p = pens[selected];
        lines.push_back(Line{curX, curY, y, p.width, p.colour});
        curX = x;
        curY = y;
    }
    void DeletePen(Pen pen) override {
        pens[pen].deleted = true;
        ++deleted;
    }

    std::map<Pen, PenInfo> pens;
    std::vector<Line> lines;
    Pen selected = 0; // the surface's own pen before anything is selected
    Pen lastPen = 0;
    int created = 0, deleted = 0, selects = 0;
    int curX = 0, curY = 0;
};
