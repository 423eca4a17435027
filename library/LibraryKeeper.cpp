#include "library/LibraryKeeper.h"
#include "model/AtomicFile.h"

#include <string_view>
#include <unordered_map>

namespace
{
constexpr size_t kRecord = (size_t) LibraryStore::kRecordBytes;

std::string_view recordView (const LibraryKeeper::Bytes& bytes, size_t at)
{
    return { reinterpret_cast<const char*> (bytes.data()) + at, kRecord };
}

// How many times each record occurs, by its bytes (the views point into `bytes`).
std::unordered_map<std::string_view, int> countsOf (const LibraryKeeper::Bytes& bytes)
{
    std::unordered_map<std::string_view, int> counts;
    for (size_t at = 0; at + kRecord <= bytes.size(); at += kRecord)
        ++counts[recordView (bytes, at)];
    return counts;
}

void append (LibraryKeeper::Bytes& to, std::string_view record) { to.insert (to.end(), record.begin(), record.end()); }

// Reading, merging and writing the file is one step: two instances doing it at once would each miss
// the other's addition and later take it for a removal. Instances in one process take turns here,
// instances in other processes through a lock file (best effort: a stuck lock is waited for a while).
std::mutex& turnsInThisProcess()
{
    static std::mutex turns;
    return turns;
}

struct FileTurn
{
    explicit FileTurn (const juce::File& file)
        : lock ("ostrel-library-" + juce::String::toHexString (file.getFullPathName().hashCode64()))
    {
        locked = lock.enter (2000);
    }
    ~FileTurn()
    {
        if (locked)
            lock.exit();
    }
    std::lock_guard<std::mutex> inProcess { turnsInThisProcess() };
    juce::InterProcessLock lock;
    bool locked = false;
};
} // namespace

LibraryKeeper::Merge LibraryKeeper::merge (const Bytes& ours, const Bytes& base, const Bytes& theirs)
{
    const auto inBase = countsOf (base), inTheirs = countsOf (theirs);
    auto inOurs = countsOf (ours);

    Merge result;
    for (size_t at = 0; at + kRecord <= ours.size(); at += kRecord)
    {
        const auto record = recordView (ours, at);
        const bool fromBase = inBase.count (record) > 0;
        if (fromBase && inTheirs.count (record) == 0)
            append (result.removed, record); // another instance removed it
        else
        {
            append (result.merged, record);
            result.oursOnly += inTheirs.count (record) == 0 ? 1 : 0;
        }
    }
    for (size_t at = 0; at + kRecord <= theirs.size(); at += kRecord)
    {
        const auto record = recordView (theirs, at);
        if (inBase.count (record) > 0 || inOurs.count (record) > 0)
            continue;
        ++inOurs[record]; // once, however often the file holds it
        append (result.added, record);
        append (result.merged, record);
    }
    return result;
}

LibraryKeeper::Bytes LibraryKeeper::recordsOfImage (const juce::MemoryBlock& content)
{
    const size_t header = (size_t) LibraryStore::kMarkerBytes;
    if (content.getSize() < header + kRecord)
        return {};
    const auto* bytes = static_cast<const uint8_t*> (content.getData()) + header;
    return Bytes (bytes, bytes + (content.getSize() - header) / kRecord * kRecord);
}

LibraryKeeper::LibraryKeeper (juce::File f) : file (std::move (f)), worker ([this] { run(); }) {}

LibraryKeeper::~LibraryKeeper()
{
    {
        std::unique_lock<std::mutex> lock (mutex);
        idle.wait (lock, [this] { return ! job && ! working; });
        stopping = true;
    }
    wake.notify_all();
    worker.join();
}

LibraryKeeper::Stamp LibraryKeeper::stampOf() const
{
    Stamp stamp;
    stamp.exists = file.existsAsFile();
    if (stamp.exists)
    {
        stamp.size = file.getSize();
        stamp.modified = file.getLastModificationTime().toMilliseconds();
    }
    return stamp;
}

juce::MemoryBlock LibraryKeeper::read()
{
    juce::MemoryBlock content;
    const auto stamp = stampOf();
    if (stamp.exists)
        file.loadFileAsData (content);
    const std::lock_guard<std::mutex> lock (mutex);
    base = recordsOfImage (content);
    known = stamp;
    return content;
}

bool LibraryKeeper::submit (Bytes records, bool changed, Done done)
{
    {
        const std::lock_guard<std::mutex> lock (mutex);
        if (job || working || stopping)
            return false;
        job = Job { std::move (records), changed, std::move (done) };
    }
    wake.notify_all();
    return true;
}

bool LibraryKeeper::isBusy() const
{
    const std::lock_guard<std::mutex> lock (mutex);
    return job.has_value() || working;
}

void LibraryKeeper::waitUntilIdle()
{
    std::unique_lock<std::mutex> lock (mutex);
    idle.wait (lock, [this] { return ! job && ! working; });
}

void LibraryKeeper::run()
{
    for (;;)
    {
        Job current;
        {
            std::unique_lock<std::mutex> lock (mutex);
            wake.wait (lock, [this] { return job.has_value() || stopping; });
            if (! job)
                return;
            current = std::move (*job);
            job.reset();
            working = true;
        }

        auto outcome = work (current);
        if (current.done)
        {
            juce::MessageManager::callAsync (
                [token = std::weak_ptr<char> (alive), done = std::move (current.done), outcome] {
                    if (! token.expired())
                        done (outcome);
                });
        }

        {
            const std::lock_guard<std::mutex> lock (mutex);
            working = false;
        }
        idle.notify_all();
    }
}

LibraryKeeper::Outcome LibraryKeeper::work (Job& current)
{
    Outcome outcome;
    Bytes baseNow;
    Stamp knownNow;
    {
        const std::lock_guard<std::mutex> lock (mutex);
        baseNow = base;
        knownNow = known;
    }

    const FileTurn turn (file);

    // Another instance wrote the file since this one last read or wrote it: take in its changes.
    const auto stamp = stampOf();
    Bytes merged = std::move (current.records);
    std::optional<Bytes> theirs;
    int oursOnly = 0;
    if (stamp.exists && ! (stamp == knownNow))
    {
        juce::MemoryBlock content;
        file.loadFileAsData (content);
        theirs = recordsOfImage (content);
        auto m = merge (merged, baseNow, *theirs);
        merged = std::move (m.merged);
        outcome.added = std::move (m.added);
        outcome.removed = std::move (m.removed);
        oursOnly = m.oursOnly;
    }

    // Only looking, the file is written when it lacks something of ours (an earlier write failed).
    const bool write = ! merged.empty() && (current.changed || (theirs && oursOnly > 0));
    if (! write)
    {
        // Nothing to write (or nothing but an empty library): the file as it is becomes the base.
        if (theirs)
        {
            const std::lock_guard<std::mutex> lock (mutex);
            base = std::move (*theirs);
            known = stamp;
        }
        return outcome;
    }

    juce::MemoryBlock image;
    image.append (LibraryStore::kFileHeader, (size_t) LibraryStore::kMarkerBytes);
    image.append (merged.data(), merged.size());
    image.append (LibraryStore::kFileTrailer, (size_t) LibraryStore::kMarkerBytes);
    outcome.result = writeAtomicallyWithReason (file, image.getData(), image.getSize());
    outcome.wrote = outcome.result.wasOk();

    const std::lock_guard<std::mutex> lock (mutex);
    if (outcome.wrote)
    {
        base = std::move (merged);
        known = stampOf();
    }
    else if (theirs)
    {
        base = std::move (*theirs);
        known = stamp;
    }
    return outcome;
}
