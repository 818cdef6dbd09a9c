#include "platform/MessageQueue.h"

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

std::optional<QueuedMessage> MessageQueue::Peek(bool remove) {
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
    std::unique_lock<std::mutex> lock(mutex_);
    return cv_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                        [&] { return !messages_.empty() || quitPending_; });
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
