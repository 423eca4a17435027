#include "model/FactoryData.h"

#include "OstrelData.h"

namespace FactoryData
{
const uint8_t* block() { return reinterpret_cast<const uint8_t*> (OstrelBinary::FactoryBanks_bin); }

size_t blockSize() { return (size_t) OstrelBinary::FactoryBanks_binSize; }

const uint8_t* bank (int k)
{
    if (k < 0 || k >= kBanks || blockSize() < (size_t) kBlockBytes)
        return nullptr;
    return block() + kMarkerBytes + (size_t) k * (size_t) kBankBytes;
}

const uint8_t* basicProgramDump() { return reinterpret_cast<const uint8_t*> (OstrelBinary::BasicProgram_syx); }

size_t basicProgramDumpSize() { return (size_t) OstrelBinary::BasicProgram_syxSize; }

const ProgramDump::Record& basicProgram()
{
    static const ProgramDump::Record record =
        ProgramDump::parseBlock (basicProgramDump(), basicProgramDumpSize()).value_or (ProgramDump::Record {});
    return record;
}
} // namespace FactoryData
