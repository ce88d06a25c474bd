// Runs tasks on worker threads and hands their results back strictly in the order the
// tasks were submitted, so that a caller which assembles its output step by step (a page
// list, a document) produces exactly what a single-threaded run produces, while the steps
// ahead are already being computed.
//
// A task must touch nothing the calling thread uses. The threads live only as long as the
// queue, which drops the tasks not started and waits for the running ones when it goes.
// Without workers (threads 1, or a single processor) each task runs when its result is
// taken, on the calling thread.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace pendlar {

template <typename Result> class OrderedWorkQueue {
public:
    using Task = std::function<Result()>;

    // threads 0: one per processor; 1: no worker.
    explicit OrderedWorkQueue(int threads) {
        const unsigned count =
            threads > 0 ? static_cast<unsigned>(threads) : std::thread::hardware_concurrency();
        if (count <= 1)
            return;
        workers_.reserve(count);
        for (unsigned i = 0; i < count; ++i)
            workers_.emplace_back([this] { Work(); });
    }

    ~OrderedWorkQueue() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
            tasks_.clear();
        }
        work_.notify_all();
        for (std::thread& worker : workers_)
            worker.join();
    }

    OrderedWorkQueue(const OrderedWorkQueue&) = delete;
    OrderedWorkQueue& operator=(const OrderedWorkQueue&) = delete;

    bool Threaded() const { return !workers_.empty(); }
    // How many tasks it pays to keep submitted ahead of the one being waited for: enough
    // to keep every worker busy, few enough that a walk ended early wastes little.
    std::size_t Window() const { return workers_.empty() ? 1 : 2 * workers_.size(); }
    // Tasks submitted whose results have not been taken.
    std::size_t Pending() const { return pending_; }

    void Submit(Task task) {
        ++pending_;
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

    // The result of the oldest task not yet taken, waiting for it; a task's exception is
    // thrown here. Only called when Pending() > 0.
    Result Take() {
        --pending_;
        if (workers_.empty()) {
            Task task = std::move(inline_.front());
            inline_.pop_front();
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
        return std::move(*slot.Value);
    }

private:
    struct Slot {
        bool Done = false;
        std::optional<Result> Value;
        std::exception_ptr Error;
    };

    void Work() {
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
                result.Value.emplace(job.second());
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

    std::vector<std::thread> workers_;
    std::mutex mutex_;
    std::condition_variable work_, done_;
    std::deque<std::pair<std::size_t, Task>> tasks_;
    std::deque<Slot> slots_;  // slot i belongs to task first_ + i
    std::deque<Task> inline_; // without workers
    std::size_t first_ = 0;
    std::size_t submitted_ = 0;
    std::size_t pending_ = 0;
    bool stop_ = false;
};

} // namespace pendlar
