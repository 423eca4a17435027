#pragma once

#include "midi/LinkClock.h"

#include <algorithm>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

// A clock that moves only when told. advance() rings every alarm that falls due, in time order, on
// the caller's thread, with the clock standing at the alarm's time while it rings; so a test walks
// through 40 seconds of a MIDI cable in no time, and sees exactly what a steady clock would give.
class SimulatedClock final : public LinkClock
{
public:
    int64_t nowMicroseconds() override
    {
        const std::lock_guard<std::mutex> guard (mutex);
        return now;
    }

    void setAlarm (const void* owner, int64_t at, std::function<void()> due) override
    {
        const std::lock_guard<std::mutex> guard (mutex);
        alarms[owner] = { at, std::move (due) };
    }

    void cancelAlarm (const void* owner) override
    {
        std::unique_lock<std::mutex> guard (mutex);
        alarms.erase (owner);
        changed.wait (guard, [&] { return ringing != owner || ringer == std::this_thread::get_id(); });
    }

    void advance (int64_t microseconds) { advanceTo (nowMicroseconds() + microseconds); }

    void advanceTo (int64_t target)
    {
        std::unique_lock<std::mutex> guard (mutex);
        for (;;)
        {
            auto next = alarms.end();
            for (auto i = alarms.begin(); i != alarms.end(); ++i)
                if (i->second.at <= target && (next == alarms.end() || i->second.at < next->second.at))
                    next = i;
            if (next == alarms.end())
                break;

            now = std::max (now, next->second.at);
            const void* owner = next->first;
            auto due = std::move (next->second.due);
            alarms.erase (next);
            ringing = owner;
            ringer = std::this_thread::get_id();
            guard.unlock();
            due();
            guard.lock();
            ringing = nullptr;
            changed.notify_all();
        }
        now = std::max (now, target);
    }

    bool hasAlarms()
    {
        const std::lock_guard<std::mutex> guard (mutex);
        return ! alarms.empty();
    }

private:
    struct Alarm
    {
        int64_t at;
        std::function<void()> due;
    };

    std::mutex mutex;
    std::condition_variable changed;
    std::map<const void*, Alarm> alarms;
    int64_t now = 1000000; // not zero: a cable that never carried anything is free at 0
    const void* ringing = nullptr;
    std::thread::id ringer;
};
