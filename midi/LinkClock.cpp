#include "midi/LinkClock.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace
{
class SteadyLinkClock final : public LinkClock
{
public:
    SteadyLinkClock() : thread ([this] { run(); }) {}

    ~SteadyLinkClock() override
    {
        {
            const std::lock_guard<std::mutex> guard (mutex);
            exiting = true;
        }
        changed.notify_all();
        thread.join();
    }

    int64_t nowMicroseconds() override
    {
        return std::chrono::duration_cast<std::chrono::microseconds> (Clock::now().time_since_epoch()).count();
    }

    void setAlarm (const void* owner, int64_t at, std::function<void()> due) override
    {
        {
            const std::lock_guard<std::mutex> guard (mutex);
            alarms[owner] = { at, std::move (due) };
        }
        changed.notify_all();
    }

    void cancelAlarm (const void* owner) override
    {
        std::unique_lock<std::mutex> guard (mutex);
        alarms.erase (owner);
        if (std::this_thread::get_id() != thread.get_id())
            changed.wait (guard, [&] { return ringing != owner; });
    }

private:
    using Clock = std::chrono::steady_clock;

    struct Alarm
    {
        int64_t at;
        std::function<void()> due;
    };

    void run()
    {
        std::unique_lock<std::mutex> guard (mutex);
        while (! exiting)
        {
            if (alarms.empty())
            {
                changed.wait (guard);
                continue;
            }

            auto next = alarms.begin();
            for (auto i = alarms.begin(); i != alarms.end(); ++i)
                if (i->second.at < next->second.at)
                    next = i;

            const int64_t wait = next->second.at - nowMicroseconds();
            if (wait > 0)
            {
                changed.wait_for (guard, std::chrono::microseconds (wait));
                continue;
            }

            const void* owner = next->first;
            auto due = std::move (next->second.due);
            alarms.erase (next);
            ringing = owner;
            guard.unlock();
            due();
            guard.lock();
            ringing = nullptr;
            changed.notify_all();
        }
    }

    std::mutex mutex;
    std::condition_variable changed;
    std::map<const void*, Alarm> alarms;
    const void* ringing = nullptr;
    bool exiting = false;
    std::thread thread;
};
} // namespace

std::shared_ptr<LinkClock> LinkClock::system()
{
    // Made when the first port needs it and gone (its thread joined) with the last.
    static std::mutex mutex;
    static std::weak_ptr<LinkClock> shared;
    const std::lock_guard<std::mutex> guard (mutex);
    auto clock = shared.lock();
    if (clock == nullptr)
    {
        clock = std::make_shared<SteadyLinkClock>();
        shared = clock;
    }
    return clock;
}
