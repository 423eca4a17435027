#include "model/Bank_Program.h"
#include "model/ProgramDump.h"

#include <benchmark/benchmark.h>

namespace
{
ProgramDump::Record patternRecord()
{
    ProgramDump::Record r;
    for (size_t i = 0; i < r.size(); ++i)
        r[i] = (uint8_t) (i * 37);
    return r;
}

void packProgram (benchmark::State& state)
{
    const auto r = patternRecord();
    for (auto _ : state)
        benchmark::DoNotOptimize (ProgramDump::pack (r));
    state.SetBytesProcessed (state.iterations() * ProgramDump::kRecordBytes);
}
BENCHMARK (packProgram);

void unpackProgram (benchmark::State& state)
{
    const auto packed = ProgramDump::pack (patternRecord());
    for (auto _ : state)
        benchmark::DoNotOptimize (ProgramDump::unpack (packed.data(), packed.size()));
    state.SetBytesProcessed (state.iterations() * ProgramDump::kPackedBytes);
}
BENCHMARK (unpackProgram);

void loadBankFromDumps (benchmark::State& state)
{
    Bank_Program source;
    source.loadFactory (0);
    const auto dumps = source.bankAsDumps (0);
    Bank_Program target;
    for (auto _ : state)
        benchmark::DoNotOptimize (target.loadDumps (dumps.getData(), dumps.getSize()));
    state.SetItemsProcessed (state.iterations() * Bank_Program::kSlots);
}
BENCHMARK (loadBankFromDumps);

void collectDumpsFromStream (benchmark::State& state)
{
    Bank_Program source;
    source.loadFactory (2);
    const auto dumps = source.bankAsDumps (6);
    for (auto _ : state)
        benchmark::DoNotOptimize (ProgramDump::collectProgramDumps ((const uint8_t*) dumps.getData(), dumps.getSize()));
    state.SetBytesProcessed (state.iterations() * (int64_t) dumps.getSize());
}
BENCHMARK (collectDumpsFromStream);
} // namespace
