// Makes page thumbnails on worker threads and hands them back strictly in the order they
// were asked for, so the page list is filled page by page exactly as a single-threaded run
// fills it: the calling thread still adds every record, sets every status text and stops at
// the first page that cannot be read, while the pages after it are already being decoded.
//
// Each task carries the name of its page, so that a result is used only for the page it
// was made for.
#pragma once

#include "util/Bitmap.h"
#include "util/OrderedWorkQueue.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

namespace pendlar {

class ThumbnailQueue {
public:
    // The thumbnail of one page, or nullopt when its file cannot be read as an image.
    using Task = OrderedWorkQueue<std::optional<Bitmap>>::Task;

    // threads 0: one per processor; 1: no worker, each task runs when its result is taken.
    explicit ThumbnailQueue(int threads) : queue_(threads) {}

    bool Threaded() const { return queue_.Threaded(); }
    std::size_t Window() const { return queue_.Window(); }
    // Tasks submitted whose results have not been taken.
    std::size_t Pending() const { return queue_.Pending(); }

    // `key` names the task (the page's path); Take hands the result back only for it.
    void Submit(std::string key, Task task) {
        keys_.push_back(std::move(key));
        queue_.Submit(std::move(task));
    }
    // True when the oldest result not yet taken belongs to `key`.
    bool NextIs(const std::string& key) const { return !keys_.empty() && keys_.front() == key; }
    // The result of the oldest task not yet taken, waiting for it; a task's exception is
    // thrown here. Only called when Pending() > 0.
    std::optional<Bitmap> Take() {
        keys_.pop_front();
        return queue_.Take();
    }

private:
    OrderedWorkQueue<std::optional<Bitmap>> queue_;
    std::deque<std::string> keys_; // of the tasks not yet taken, oldest first
};

} // namespace pendlar
