#pragma once

#include "TestSeam.h"

#include <functional>
#include <utility>

// A seam's hook for the scope of a test; assigning replaces it. The previous hook
// comes back at the end.
class SeamHook {
public:
    explicit SeamHook(CTestSeam& seam, std::function<void()> hook = {})
        : m_seam(seam), m_previous(seam.Set(std::move(hook))) {}
    SeamHook(const SeamHook&) = delete;
    SeamHook& operator=(const SeamHook&) = delete;
    ~SeamHook() { m_seam.Set(std::move(m_previous)); }

    SeamHook& operator=(std::function<void()> hook) {
        m_seam.Set(std::move(hook));
        return *this;
    }

private:
    CTestSeam& m_seam;
    std::function<void()> m_previous;
};
