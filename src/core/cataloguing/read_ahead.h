// Reading files on a few threads ahead of the one thread that uses what was read.
//
// A scan of a USB disk or a network share waits for the device on every open and read, not
// for parsing; with several reads in flight those waits overlap. The results come back in the
// order the reads were queued, so whoever takes them (the thread that writes the catalog and
// talks to the user) handles the files exactly as it would one after another.
//
// The reader threads run nothing but the queued functions. Those must share nothing mutable
// with each other or with the caller: each works on its own file with its own reader objects.
// With one thread nothing runs in the background: each read runs on the caller's thread when
// its result is taken, which is the plain sequential order.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace sonarchive::cataloguing {

// The pool size that read fastest on slow devices (a share answering after 1 ms) without
// slowing local disks; see benchmarks/add_files.
inline constexpr unsigned kDefaultReaderThreads = 8;
inline constexpr unsigned kMaxReaderThreads = 16;
inline constexpr std::size_t kMaxPlannedAhead = 256;

template <typename Result>
class ReadAhead {
public:
    // `threads` is clamped to 1..kMaxReaderThreads.
    explicit ReadAhead(unsigned threads);
    // Reads not yet started are dropped; the ones running are waited for.
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // How many reads to keep queued so that every thread has the next one at hand.
    std::size_t Depth() const { return 2 * threads_; }
    // Reads queued whose results were not taken yet.
    std::size_t Queued() const { return queue_.size(); }
    // Whether a caller that has `planned` items decided ahead of the one it handles next
    // should plan another: always the next one, then until every thread has work queued,
    // but never so far ahead that a long run of items needing no read keeps the caller from
    // the user's events.
    bool WantsMorePlanned(std::size_t planned) const {
        return planned == 0 || (planned < kMaxPlannedAhead && Queued() < Depth());
    }

    void Submit(std::function<Result()> read);
    // The result of the oldest queued read, waiting for it when needed; an exception the read
    // threw is thrown here.
    Result Take();

private:
    struct Job {
        std::function<Result()> read;
        std::optional<Result> result;
        std::exception_ptr error;
        bool started = false;
        bool done = false;
    };

    static void Run(Job& job);
    void Work();

    unsigned threads_;
    std::deque<std::shared_ptr<Job>> queue_;    // in submission order, until taken
    std::deque<std::shared_ptr<Job>> waiting_;  // not started yet, for the threads
    std::mutex mutex_;
    std::condition_variable work_;
    std::condition_variable finished_;
    bool stopping_ = false;
    std::vector<std::thread> pool_;
};

template <typename Result>
ReadAhead<Result>::ReadAhead(unsigned threads)
    : threads_(threads < 1 ? 1 : (threads > kMaxReaderThreads ? kMaxReaderThreads : threads)) {
    if (threads_ > 1) {
        pool_.reserve(threads_);
        for (unsigned i = 0; i < threads_; ++i) {
            pool_.emplace_back([this] { Work(); });
        }
    }
}

template <typename Result>
ReadAhead<Result>::~ReadAhead() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        waiting_.clear();
    }
    work_.notify_all();
    for (std::thread& thread : pool_) {
        thread.join();
    }
}

template <typename Result>
void ReadAhead<Result>::Run(Job& job) {
    try {
        job.result.emplace(job.read());
    } catch (...) {
        job.error = std::current_exception();
    }
    job.read = nullptr;  // whatever it captured goes with the read
}

template <typename Result>
void ReadAhead<Result>::Submit(std::function<Result()> read) {
    auto job = std::make_shared<Job>();
    job->read = std::move(read);
    queue_.push_back(job);
    if (pool_.empty()) {
        return;
    }
    {
        std::lock_guard lock(mutex_);
        waiting_.push_back(std::move(job));
    }
    work_.notify_one();
}

template <typename Result>
Result ReadAhead<Result>::Take() {
    std::shared_ptr<Job> job = std::move(queue_.front());
    queue_.pop_front();
    if (pool_.empty()) {
        Run(*job);
    } else {
        std::unique_lock lock(mutex_);
        if (!job->started) {
            // Not begun yet: reading it here is quicker than waiting for a thread.
            job->started = true;
            std::erase(waiting_, job);
            lock.unlock();
            Run(*job);
        } else {
            finished_.wait(lock, [&job] { return job->done; });
        }
    }
    if (job->error) {
        std::rethrow_exception(job->error);
    }
    return std::move(*job->result);
}

template <typename Result>
void ReadAhead<Result>::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        work_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
        if (stopping_) {
            return;
        }
        std::shared_ptr<Job> job = std::move(waiting_.front());
        waiting_.pop_front();
        job->started = true;
        lock.unlock();
        Run(*job);
        lock.lock();
        job->done = true;
        finished_.notify_all();
    }
}

}  // namespace sonarchive::cataloguing
