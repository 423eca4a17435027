#pragma once

#include <cstdint>
#include <functional>
#include <memory>

// The time the output link is paced by. The product uses the computer's steady clock, with one
// thread that rings the alarms; tests and benchmarks give a simulated clock instead, so 40 seconds
// of a bank going down a MIDI cable take no time at all.
class LinkClock
{
public:
    virtual ~LinkClock() = default;

    virtual int64_t nowMicroseconds() = 0;

    // Runs `due` once the clock has reached `at`, on the clock's own thread (a simulated clock runs
    // it inside its advance), never inside this call. One alarm per owner: a new one replaces the
    // one before it.
    virtual void setAlarm (const void* owner, int64_t at, std::function<void()> due) = 0;
    // After this returns no alarm of `owner` is running (unless called from inside it) and none will.
    virtual void cancelAlarm (const void* owner) = 0;

    // The steady clock, shared by every port of the process.
    static std::shared_ptr<LinkClock> system();
};
