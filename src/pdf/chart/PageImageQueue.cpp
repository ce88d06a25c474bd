#include "pdf/chart/PageImageQueue.h"

namespace pendlar {

PageImageQueue::PageImageQueue(int threads) {
    unsigned count =
        threads > 0 ? static_cast<unsigned>(threads) : std::thread::hardware_concurrency();
    if (count <= 1)
        return;
    workers_.reserve(count);
    for (unsigned i = 0; i < count; ++i)
        workers_.emplace_back([this] { Work(); });
}

PageImageQueue::~PageImageQueue() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        tasks_.clear();
    }
    work_.notify_all();
    for (std::thread& worker : workers_)
        worker.join();
}

void PageImageQueue::Submit(Task task) {
    if (workers_.empty()) {
        inline_.push_back(std::move(task));
        return;
    }
    {
        std::lock_guard lock(mutex_);
        slots_.emplace_back();
        tasks_.emplace_back(submitted_++, std::move(task));
    }
    work_.notify_one();
}

std::optional<JpegPicture> PageImageQueue::Next() {
    if (workers_.empty()) {
        if (inline_.empty())
            return std::nullopt;
        Task task = std::move(inline_.front());
        inline_.pop_front();
        return task();
    }
    std::unique_lock lock(mutex_);
    if (slots_.empty())
        return std::nullopt;
    done_.wait(lock, [this] { return slots_.front().Done; });
    Slot slot = std::move(slots_.front());
    slots_.pop_front();
    ++first_;
    lock.unlock();
    if (slot.Error)
        std::rethrow_exception(slot.Error);
    return std::move(slot.Value);
}

void PageImageQueue::Work() {
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
        Slot result;
        try {
            result.Value = job.second();
        } catch (...) {
            result.Error = std::current_exception();
        }
        result.Done = true;
        {
            std::lock_guard lock(mutex_);
            if (job.first >= first_)
                slots_[job.first - first_] = std::move(result);
        }
        done_.notify_all();
    }
}

} // namespace pendlar
