// Makes page thumbnails on worker threads and hands them back strictly in the order they
// were asked for, so the page list is filled page by page exactly as a single-threaded run
// fills it: the calling thread still adds every record, sets every status text and stops at
// the first page that cannot be read, while the pages after it are already being decoded.
//
// A task only reads its file and computes a bitmap; it touches nothing the calling thread
// uses. The threads live only as long as the queue, which drops the tasks not started and
// waits for the running ones when it goes.
#pragma once

#include "util/Bitmap.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace pendlar {

class ThumbnailQueue {
public:
    // The thumbnail of one page, or nullopt when its file cannot be read as an image.
    using Task = std::function<std::optional<Bitmap>()>;

    // threads 0: one per processor; 1: no worker, each task runs when its result is taken.
    explicit ThumbnailQueue(int threads);
    ~ThumbnailQueue();
    ThumbnailQueue(const ThumbnailQueue&) = delete;
    ThumbnailQueue& operator=(const ThumbnailQueue&) = delete;

    bool Threaded() const { return !workers_.empty(); }
    // How many tasks it pays to keep submitted ahead of the one being waited for: enough
    // to keep every worker busy, few enough that a walk ended early wastes little.
    std::size_t Window() const { return workers_.empty() ? 1 : 2 * workers_.size(); }
    // Tasks submitted whose results have not been taken.
    std::size_t Pending() const { return pending_; }

    // `key` names the task (the page's path); Take hands the result back only for it.
    void Submit(std::string key, Task task);
    // True when the oldest result not yet taken belongs to `key`.
    bool NextIs(const std::string& key) const;
    // The result of the oldest task not yet taken, waiting for it; a task's exception is
    // thrown here. Only called when Pending() > 0.
    std::optional<Bitmap> Take();

private:
    struct Slot {
        std::string Key;
        bool Done = false;
        std::optional<Bitmap> Value;
        std::exception_ptr Error;
        Task Inline; // without workers
    };

    void Work();

    std::vector<std::thread> workers_;
    mutable std::mutex mutex_;
    std::condition_variable work_, done_;
    std::deque<std::pair<std::size_t, Task>> tasks_;
    std::deque<Slot> slots_; // slot i belongs to task first_ + i
    std::size_t first_ = 0;
    std::size_t submitted_ = 0;
    std::size_t pending_ = 0;
    bool stop_ = false;
};

} // namespace pendlar
