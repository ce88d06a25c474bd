#include "intake/ThumbnailQueue.h"

namespace pendlar {

ThumbnailQueue::ThumbnailQueue(int threads) {
    const unsigned count =
        threads > 0 ? static_cast<unsigned>(threads) : std::thread::hardware_concurrency();
    if (count <= 1)
        return;
    workers_.reserve(count);
    for (unsigned i = 0; i < count; ++i)
        workers_.emplace_back([this] { Work(); });
}

ThumbnailQueue::~ThumbnailQueue() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        tasks_.clear();
    }
    work_.notify_all();
    for (std::thread& worker : workers_)
        worker.join();
}

void ThumbnailQueue::Submit(std::string key, Task task) {
    ++pending_;
    if (workers_.empty()) {
        Slot slot;
        slot.Key = std::move(key);
        slot.Inline = std::move(task);
        slots_.push_back(std::move(slot));
        return;
    }
    {
        std::lock_guard lock(mutex_);
        slots_.emplace_back().Key = std::move(key);
        tasks_.emplace_back(submitted_++, std::move(task));
    }
    work_.notify_one();
}

bool ThumbnailQueue::NextIs(const std::string& key) const {
    std::lock_guard lock(mutex_);
    return !slots_.empty() && slots_.front().Key == key;
}

std::optional<Bitmap> ThumbnailQueue::Take() {
    --pending_;
    if (workers_.empty()) {
        Task task = std::move(slots_.front().Inline);
        slots_.pop_front();
        return task();
    }
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return slots_.front().Done; });
    Slot slot = std::move(slots_.front());
    slots_.pop_front();
    ++first_;
    lock.unlock();
    if (slot.Error)
        std::rethrow_exception(slot.Error);
    return std::move(slot.Value);
}

void ThumbnailQueue::Work() {
    for (;;) {
        std::pair<std::size_t, Task> job;
        {
            std::unique_lock lock(mutex_);
            work_.wait(lock, [this] { return stop_ || !tasks_.empty(); });
            if (stop_)
                return;
            job = std::move(tasks_.front());
            tasks_.pop_front();
        }
        std::optional<Bitmap> value;
        std::exception_ptr error;
        try {
            value = job.second();
        } catch (...) {
            error = std::current_exception();
        }
        {
            std::lock_guard lock(mutex_);
            Slot& slot = slots_[job.first - first_];
            slot.Value = std::move(value);
            slot.Error = error;
            slot.Done = true;
        }
        done_.notify_all();
    }
}

} // namespace pendlar
