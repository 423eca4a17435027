#include "standin/Prophet12StandIn.h"
#include "model/FactoryData.h"

Prophet12StandIn::Record Prophet12StandIn::standInProgram (int bank, int program)
{
    auto record = FactoryData::basicProgram();
    const int index = bank * ProgramDump::kProgramsPerBank + program;
    record[85] = (uint8_t) (index % 165);         // "LPF Freq"
    record[93] = (uint8_t) (index % 128);         // "Voice Volume"
    record[1023] = (uint8_t) (255 - index % 256); // the last byte of layer B, to catch a short unpack
    ProgramDump::writeName (record.data(), "Stand-in " + juce::String (bank + 1) + "-" +
                                               juce::String (program + 1).paddedLeft ('0', 2));
    return record;
}
