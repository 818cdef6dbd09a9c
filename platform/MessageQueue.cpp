#include "platform/MessageQueue.h"

#include <algorithm>
#include <chrono>

namespace platform {

bool IsInputMessage(uint32_t message) {
    return (message >= kMsgKeyFirst && message <= kMsgKeyLast) ||
           (message >= kMsgMouseFirst && message <= kMsgMouseLast);
}

std::shared_ptr<MessageQueue> MessageQueue::Current() {
    thread_local std::shared_ptr<MessageQueue> queue = std::make_shared<MessageQueue>();
    return queue;
}

void MessageQueue::Post(uint32_t message, intptr_t wParam, intptr_t lParam) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        messages_.push_back({message, wParam, lParam});
    }
    cv_.notify_all();
}

void MessageQueue::PostQuit(int exitCode) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quitPending_ = true;
        quitCode_ = exitCode;
    }
    cv_.notify_all();
}

void MessageQueue::SetInputSource(std::function<void()> pump) {
    std::lock_guard<std::mutex> lock(mutex_);
    pump_ = std::move(pump);
}

void MessageQueue::PumpInput() {
    std::function<void()> pump;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        // The source posts back into this queue; it must not pump itself.
        if (!pump_ || pumping_) return;
        pump = pump_;
        pumping_ = true;
    }
    pump();
    std::lock_guard<std::mutex> lock(mutex_);
    pumping_ = false;
}

std::optional<QueuedMessage> MessageQueue::Peek(bool remove) {
    PumpInput();
    std::lock_guard<std::mutex> lock(mutex_);
    if (!messages_.empty()) {
        QueuedMessage m = messages_.front();
        if (remove) messages_.pop_front();
        return m;
    }
    if (quitPending_) {
        if (remove) quitPending_ = false;
        return QueuedMessage{kMsgQuit, quitCode_, 0};
    }
    return std::nullopt;
}

bool MessageQueue::HasInput() {
    PumpInput();
    std::lock_guard<std::mutex> lock(mutex_);
    for (const QueuedMessage& m : messages_)
        if (IsInputMessage(m.message)) return true;
    return false;
}

bool MessageQueue::HasMessages() {
    std::lock_guard<std::mutex> lock(mutex_);
    return !messages_.empty() || quitPending_;
}

bool MessageQueue::Wait(uint32_t milliseconds) {
    bool hasSource;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        hasSource = static_cast<bool>(pump_);
    }
    if (!hasSource) {
        std::unique_lock<std::mutex> lock(mutex_);
        return cv_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                            [&] { return !messages_.empty() || quitPending_; });
    }
    // Host events do not wake the condition: wait in short slices, pumping
    // the source between them.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        PumpInput();
        std::unique_lock<std::mutex> lock(mutex_);
        const auto now = std::chrono::steady_clock::now();
        if (!messages_.empty() || quitPending_) return true;
        if (now >= deadline) return false;
        const auto slice = std::min<std::chrono::steady_clock::duration>(deadline - now, std::chrono::milliseconds(4));
        if (cv_.wait_for(lock, slice, [&] { return !messages_.empty() || quitPending_; })) return true;
    }
}

void MessageQueue::RemoveInput() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::erase_if(messages_, [](const QueuedMessage& m) { return IsInputMessage(m.message); });
}

void MessageQueue::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.clear();
    quitPending_ = false;
}

size_t MessageQueue::Size() {
    std::lock_guard<std::mutex> lock(mutex_);
    return messages_.size() + (quitPending_ ? 1 : 0);
}

}  // namespace platform
