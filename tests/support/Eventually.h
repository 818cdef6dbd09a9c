// Waits (bounded, 5 s) until a condition holds, for tests that must see
// another thread reach a point before going on.
#pragma once

#include <chrono>
#include <thread>

namespace support {

template <typename Pred>
bool Eventually(Pred pred) {
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < end) {
        if (pred()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

}  // namespace support
