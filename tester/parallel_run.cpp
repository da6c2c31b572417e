#include "tester/parallel_run.h"
#include "tester/randomness_tests.h"

#include <sched.h>
#include <sys/resource.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <tuple>
#include <utility>

namespace zentrope {
namespace {

struct PendingRow {
    std::vector<double> values;
    size_t missing = 0;
};

class WorkQueue {
public:
    WorkQueue(const SequenceWork& work, const RowSink& rows) : work_(work), rows_(rows) {}

    void Worker() {
        if (work_.lowPriority)
            setpriority(PRIO_PROCESS, 0, 19); // on Linux this lowers the calling thread
        try {
            while (RunOne()) {
            }
        } catch (...) {
            const std::lock_guard lock(mutex_);
            if (!error_)
                error_ = std::current_exception();
            stopped_ = true;
            changed_.notify_all();
        }
    }

    // Waits up to `timeout` for more p-values than `seen`, or the end; those done so far, and
    // whether the run is over (all done, the input ended or a worker failed).
    std::pair<uint64_t, bool> WaitForChange(uint64_t seen, std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, timeout, [&] { return done_ != seen || stopped_; });
        return {done_, stopped_};
    }

    // Once the workers are joined.
    bool InputEnded() const { return inputEnded_; }
    std::exception_ptr Error() const { return error_; }

private:
    struct Unit {
        int32_t sequence = -1;
        size_t line = 0;
        std::shared_ptr<const BitSequence> bits;
    };

    // Sequences read but not yet written stay within the threads plus one, so memory does
    // not grow when one sequence takes longer than the others.
    bool MayReadAnother() const { return next_ - written_ <= static_cast<int32_t>(work_.threads); }

    // The next unit under the lock; no unit when the run is over.
    Unit Take(std::unique_lock<std::mutex>& lock) {
        const size_t lines = work_.plan->lines.size();
        for (;;) {
            if (stopped_)
                return {};
            if (current_ && nextLine_ < lines)
                return {next_ - 1, nextLine_++, current_};
            if (next_ == work_.sequences)
                return {};
            if (MayReadAnother())
                break;
            changed_.wait(lock);
        }
        auto bits = std::make_shared<BitSequence>();
        if (!work_.input->Next(work_.n, *bits)) {
            inputEnded_ = true;
            stopped_ = true;
            changed_.notify_all();
            return {};
        }
        current_ = std::move(bits);
        pending_[next_] = {std::vector<double>(lines, NoResult), lines};
        ++next_;
        nextLine_ = 1;
        return {next_ - 1, 0, current_};
    }

    bool RunOne() {
        std::unique_lock lock(mutex_);
        const Unit unit = Take(lock);
        if (!unit.bits)
            return false;
        lock.unlock();
        const double p = RunPlannedTest(work_.plan->lines[unit.line], *unit.bits, *work_.set);
        lock.lock();
        PendingRow& row = pending_[unit.sequence];
        row.values[unit.line] = p;
        --row.missing;
        ++done_;
        WriteFinishedRows();
        changed_.notify_all();
        return true;
    }

    // Rows leave in sequence order, each as soon as it and all before it are complete.
    void WriteFinishedRows() {
        for (auto it = pending_.find(written_); it != pending_.end() && it->second.missing == 0;
             it = pending_.find(written_)) {
            rows_(written_, it->second.values);
            pending_.erase(it);
            ++written_;
        }
        if (written_ == next_ && next_ > 0)
            current_.reset();
    }

    const SequenceWork& work_;
    const RowSink& rows_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<int32_t, PendingRow> pending_;
    std::shared_ptr<const BitSequence> current_;
    int32_t next_ = 0;    // sequences read
    size_t nextLine_ = 0; // next line of the newest sequence
    int32_t written_ = 0; // rows handed on
    uint64_t done_ = 0;
    bool stopped_ = false;
    bool inputEnded_ = false;
    std::exception_ptr error_;
};

} // namespace

bool TestAllSequences(const SequenceWork& work, const RowSink& rows, const ProgressSink& progress) {
    const uint64_t total =
        static_cast<uint64_t>(work.sequences) * static_cast<uint64_t>(work.plan->lines.size());
    WorkQueue queue(work, rows);
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < std::max(work.threads, 1u); ++t)
        workers.emplace_back([&queue] { queue.Worker(); });
    progress(0, total);
    uint64_t shown = 0;
    uint64_t done = 0;
    auto lastShown = std::chrono::steady_clock::now();
    for (;;) {
        bool over = false;
        std::tie(done, over) = queue.WaitForChange(done, std::chrono::milliseconds(250));
        if (over || done == total)
            break;
        const auto now = std::chrono::steady_clock::now();
        if ((done != shown && now - lastShown >= std::chrono::milliseconds(250)) ||
            now - lastShown >= std::chrono::seconds(1)) {
            progress(done, total);
            shown = done;
            lastShown = now;
        }
    }
    for (std::thread& worker : workers)
        worker.join();
    if (queue.Error())
        std::rethrow_exception(queue.Error());
    if (queue.InputEnded())
        return false;
    progress(total, total);
    return true;
}

namespace {

// The threads ZENTROPE_THREADS asks for; 0 when it holds no whole number from 1 to MaxThreads.
unsigned ThreadsSetting(const char* text) {
    char* end = nullptr;
    const long wanted = std::strtol(text, &end, 10);
    const bool whole = end != text && *end == '\0';
    return whole && wanted >= 1 && wanted <= static_cast<long>(MaxThreads)
               ? static_cast<unsigned>(wanted)
               : 0;
}

} // namespace

std::string ThreadsSettingProblem() {
    const char* text = std::getenv("ZENTROPE_THREADS");
    if (!text || ThreadsSetting(text) > 0)
        return {};
    return "ZENTROPE_THREADS=\"" + std::string(text) + "\" is not a number of threads from 1 to " +
           std::to_string(MaxThreads);
}

unsigned ThreadsToUse() {
    if (const char* text = std::getenv("ZENTROPE_THREADS"); text && ThreadsSetting(text) > 0)
        return ThreadsSetting(text);
    cpu_set_t allowed;
    if (sched_getaffinity(0, sizeof allowed, &allowed) == 0)
        return static_cast<unsigned>(std::max(CPU_COUNT(&allowed), 1));
    return std::max(std::thread::hardware_concurrency(), 1u);
}

} // namespace zentrope
