// A thread's message queue, shaped like the Windows one the game's main loop
// was written against: messages are {id, two pointer-sized words}; a reader
// peeks with or without removing; a quit request carries an exit code and is
// seen only once the posted messages before it are read; a reader can wait
// with a time-out until something arrives, and can ask whether user input
// (keys, mouse) is waiting. The main window's events are posted here too: a
// host window set as the input source is pumped whenever the queue is read.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace platform {

struct QueuedMessage {
    uint32_t message = 0;
    intptr_t wParam = 0;
    intptr_t lParam = 0;
};

// Message ids with a meaning to the queue itself (the Windows numbers).
inline constexpr uint32_t kMsgQuit = 0x0012;
inline constexpr uint32_t kMsgKeyFirst = 0x0100;
inline constexpr uint32_t kMsgKeyLast = 0x0109;
inline constexpr uint32_t kMsgMouseFirst = 0x0200;
inline constexpr uint32_t kMsgMouseLast = 0x020E;
// First id free for the program's own messages.
inline constexpr uint32_t kMsgUser = 0x0400;

bool IsInputMessage(uint32_t message);

class MessageQueue {
public:
    MessageQueue() = default;
    MessageQueue(const MessageQueue&) = delete;
    MessageQueue& operator=(const MessageQueue&) = delete;

    // The calling thread's own queue (created on first use). The shared
    // pointer lets another thread keep posting to it.
    static std::shared_ptr<MessageQueue> Current();

    // Any thread may post.
    void Post(uint32_t message, intptr_t wParam = 0, intptr_t lParam = 0);
    // Asks the reader to quit: a kMsgQuit message with the code in wParam is
    // delivered after everything posted so far. A second request replaces the
    // code of one not yet read.
    void PostQuit(int exitCode);

    // The next message, removed or left in place; nothing when empty.
    std::optional<QueuedMessage> Peek(bool remove);
    // True when a keyboard or mouse message is waiting.
    bool HasInput();
    // True when anything (a message or a quit request) is waiting.
    bool HasMessages();
    // Waits until a message is waiting or the time-out (milliseconds) ends;
    // true when one is waiting.
    bool Wait(uint32_t milliseconds);
    // Drops everything, including a pending quit.
    void Clear();
    // Drops the waiting keyboard and mouse messages, keeping the rest.
    void RemoveInput();

    // A host window that turns its events into messages only when asked:
    // Peek, HasInput and Wait call it first (on the reading thread). Null
    // removes it.
    void SetInputSource(std::function<void()> pump);
    size_t Size();

private:
    void PumpInput();

    std::mutex mutex_;
    std::function<void()> pump_;
    bool pumping_ = false;
    std::condition_variable cv_;
    std::deque<QueuedMessage> messages_;
    bool quitPending_ = false;
    int quitCode_ = 0;
};

}  // namespace platform
