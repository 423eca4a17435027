#pragma once

#include "library/LibraryStore.h"

#include <juce_events/juce_events.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

// Keeps the default library file ("p12Lib.p12l") up to date while the editor runs, so that a crash
// or a killed host loses nothing that was filed. Writing happens on a thread of its own (a large
// library takes a while), always through a temporary file renamed over the old one.
//
// Several instances (tracks of one host, the standalone and a host) share the file. Each remembers
// the records as it last read or wrote them (its base); before writing it looks whether the file
// changed since, and if so merges whole records three ways: what another instance added is kept and
// comes into this one's memory too, what another instance removed goes here too, and what this
// instance added or removed wins over the file. Records are whole 1024-byte programs, so a rename is
// a removal and an addition.
class LibraryKeeper
{
public:
    using Bytes = std::vector<uint8_t>; // whole records, 1024 bytes each

    struct Merge
    {
        Bytes merged;     // ours without what was removed elsewhere, then what was added elsewhere
        Bytes added;      // in the file, not in the base and not ours: added elsewhere
        Bytes removed;    // ours and in the base, not in the file: removed elsewhere
        int oursOnly = 0; // records of ours that the file lacks (the order aside)
    };
    static Merge merge (const Bytes& ours, const Bytes& base, const Bytes& theirs);

    // The whole records of a library file's content, as LibraryStore::loadImage takes them.
    static Bytes recordsOfImage (const juce::MemoryBlock& content);

    struct Outcome
    {
        juce::Result result = juce::Result::ok(); // the write's, when one failed
        bool wrote = false;
        Bytes added, removed; // to merge into memory
    };
    using Done = std::function<void (const Outcome&)>;

    explicit LibraryKeeper (juce::File file);
    // Finishes the job in hand.
    ~LibraryKeeper();

    const juce::File& getFile() const noexcept { return file; }

    // Reads the file (its whole content; empty when missing), which becomes the base.
    juce::MemoryBlock read();

    // Hands the library over: to be written when `changed`, otherwise only to be compared with the
    // file. What another instance wrote since is merged first; an empty result is never written (the
    // file is left as it was). `done` comes back on the message thread, unless this keeper is gone
    // by then. One job at a time: false when one is in hand.
    bool submit (Bytes records, bool changed, Done done);
    bool isBusy() const;
    void waitUntilIdle();

private:
    struct Stamp
    {
        bool exists = false;
        juce::int64 size = 0, modified = 0;
        bool operator== (const Stamp& o) const
        {
            return exists == o.exists && size == o.size && modified == o.modified;
        }
    };
    struct Job
    {
        Bytes records;
        bool changed = false;
        Done done;
    };

    Stamp stampOf() const;
    void run();
    Outcome work (Job& job);

    const juce::File file;
    std::shared_ptr<char> alive = std::make_shared<char> (0);

    mutable std::mutex mutex;
    std::condition_variable wake, idle;
    std::optional<Job> job;
    bool working = false, stopping = false;
    Bytes base;  // under `mutex`
    Stamp known; // the file as of the base, under `mutex`

    std::thread worker;

    JUCE_DECLARE_NON_COPYABLE (LibraryKeeper)
};
