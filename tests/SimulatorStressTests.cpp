// Two plug-in instances on the one built-in simulator, with every thread that can enter busy at
// once: the host's parameter thread, the message thread reopening ports, the output ports'
// background threads, the simulator's own threads and its front panel. Run under ThreadSanitizer
// with the rest of the stress suite.
#include "TestRig.h"
#include "midi/SimulatorDevices.h"
#include "midi/Transfers.h"

#include <thread>

namespace
{
constexpr auto kRunTime = std::chrono::milliseconds (1500);

TEST (SimulatorStress, TwoInstancesShareOneSimulator)
{
    Prophet12Simulator simulator;
    auto devices = std::make_shared<SimulatorDevices> (nullptr, [&]() -> Prophet12Simulator& { return simulator; });
    ScratchFolder folderOne, folderTwo;
    writePortsFile (SettingsFiles::Folder (folderOne.folder), SimulatorDevices::kPortName, SimulatorDevices::kPortName);
    writePortsFile (SettingsFiles::Folder (folderTwo.folder), SimulatorDevices::kPortName, SimulatorDevices::kPortName);
    MidiCntrState one (MidiCntrState::Environment { devices, folderOne.folder });
    MidiCntrState two (MidiCntrState::Environment { devices, folderTwo.folder });
    ASSERT_TRUE (one.getPorts().isInputOpen() && two.getPorts().isOutputOpen());

    std::atomic<bool> stop { false };
    std::thread host ([&] {
        for (int n = 0; ! stop; ++n)
            one.setParameterValue (85, n % 165);
    });
    std::thread editor ([&] {
        for (int n = 0; ! stop; ++n)
        {
            Transfers::fetchEditBuffer (two);
            two.requestGlobals();
            if (n % 16 == 0)
                Transfers::writeCurrentProgram (two, 2, n % 99, "Stress", 0); // a dump, sent at once
            std::this_thread::sleep_for (std::chrono::microseconds (200));
        }
    });
    std::thread panel ([&] {
        for (int n = 0; ! stop; ++n)
        {
            simulator.turnParameter (93, n % 128);
            if (n % 64 == 0)
                simulator.selectProgram (n % 8, n % 99);
            std::this_thread::sleep_for (std::chrono::microseconds (100));
        }
    });

    // The message thread: the first instance's ports closed and reopened, both queues emptied.
    const auto end = std::chrono::steady_clock::now() + kRunTime;
    for (int n = 0; std::chrono::steady_clock::now() < end; ++n)
    {
        one.selectInput (n % 2);
        one.selectOutput ((n + 1) % 2);
        one.takeNotifications();
        two.takeNotifications();
        one.takeReceivedNrpns();
        two.takeReceivedNrpns();
        std::this_thread::sleep_for (std::chrono::milliseconds (1));
    }
    stop = true;
    host.join();
    editor.join();
    panel.join();

    // Both still talk to it afterwards.
    one.selectInput (1);
    one.selectOutput (1);
    ASSERT_TRUE (simulator.waitUntilIdle());
    one.takeNotifications();
    two.takeNotifications();
    one.requestGlobals();
    two.requestGlobals();
    const auto deadline = juce::Time::getMillisecondCounter() + 20000;
    while (! (one.hasInstrumentAnswered() && two.hasInstrumentAnswered()) &&
           juce::Time::getMillisecondCounter() < deadline)
        std::this_thread::sleep_for (std::chrono::milliseconds (1));
    EXPECT_TRUE (one.hasInstrumentAnswered());
    EXPECT_TRUE (two.hasInstrumentAnswered());
}
} // namespace
