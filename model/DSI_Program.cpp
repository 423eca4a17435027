#include "model/DSI_Program.h"
#include "model/FactoryData.h"

DSI_Program::DSI_Program() : record (FactoryData::basicProgram()) { name(); }

bool DSI_Program::parse (const void* data, size_t size)
{
    auto parsed = ProgramDump::parseBlock (static_cast<const uint8_t*> (data), size);
    if (! parsed)
        return false;

    record = *parsed;
    name();
    return true;
}

void DSI_Program::setData (const void* data, size_t size)
{
    if (data != nullptr)
        std::copy_n (static_cast<const uint8_t*> (data), juce::jmin (size, record.size()), record.begin());
}

juce::String DSI_Program::name()
{
    programName = ProgramDump::readName (record.data(), ProgramDump::NameVariant::program);
    return programName;
}

void DSI_Program::setName (const juce::String& text) { programName = ProgramDump::writeName (record.data(), text); }
