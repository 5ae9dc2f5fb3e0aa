#pragma once

#include <functional>
#include <utility>

// A point in the program where a test may run code of its own: to count the calls that
// pass it, or to raise an exception there. With no hook, as in the program, passing it
// does nothing. For the user-interface thread.
class CTestSeam {
public:
    void Pass() const {
        if (m_hook) {
            m_hook();
        }
    }
    // Sets the hook (empty: none) and returns the previous one.
    std::function<void()> Set(std::function<void()> hook) {
        return std::exchange(m_hook, std::move(hook));
    }

private:
    std::function<void()> m_hook;
};

// Passed each time the window encodes a text, after emptying the encoder and before encoding.
inline CTestSeam g_beforeEncode;
