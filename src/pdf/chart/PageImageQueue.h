// Runs the page-image work (decode, fit or cut, encode) on worker threads and hands the
// results back strictly in the order the work was submitted, so the document is
// assembled page by page exactly as a single-threaded run would assemble it.
//
// The threads live only as long as the queue: the rest of the program stays on the user-
// interface thread, and nothing the tasks touch is shared with it.
#pragma once

#include "pdf/JpegPicture.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace pendlar {

class PageImageQueue {
public:
    using Task = std::function<std::optional<JpegPicture>()>;

    // threads 0: one per processor; 1: no worker, each task runs inside Next().
    explicit PageImageQueue(int threads);
    // Drops the tasks not started and waits for the running ones.
    ~PageImageQueue();
    PageImageQueue(const PageImageQueue&) = delete;
    PageImageQueue& operator=(const PageImageQueue&) = delete;

    // How many tasks it pays to keep submitted ahead of the one being waited for.
    std::size_t Window() const { return workers_.empty() ? 1 : 2 * workers_.size(); }

    void Submit(Task task);
    // The result of the oldest task not yet taken, waiting for it; a task's exception is
    // thrown here.
    std::optional<JpegPicture> Next();

private:
    struct Slot {
        bool Done = false;
        std::optional<JpegPicture> Value;
        std::exception_ptr Error;
    };

    void Work();

    std::vector<std::thread> workers_;
    std::mutex mutex_;
    std::condition_variable work_, done_;
    std::deque<std::pair<std::size_t, Task>> tasks_;
    std::deque<Slot> slots_;  // slot i belongs to task first_ + i
    std::deque<Task> inline_; // without workers
    std::size_t first_ = 0;
    std::size_t submitted_ = 0;
    bool stop_ = false;
};

} // namespace pendlar
