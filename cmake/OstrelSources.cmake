# Source lists per subsystem. The factory generator compiles the pure model files on their own,
# so they must not reach for the embedded resources.
set(OSTREL_ROOT "${CMAKE_CURRENT_LIST_DIR}/..")

set(OSTREL_MODEL_PURE_SOURCES
    ${OSTREL_ROOT}/model/ParameterTable.cpp
    ${OSTREL_ROOT}/model/ParDes.cpp
    ${OSTREL_ROOT}/model/ProgramDump.cpp
    ${OSTREL_ROOT}/model/GlobalSettings.cpp
    ${OSTREL_ROOT}/model/AtomicFile.cpp)

set(OSTREL_MODEL_SOURCES
    ${OSTREL_MODEL_PURE_SOURCES}
    ${OSTREL_ROOT}/model/DSI_Program.cpp
    ${OSTREL_ROOT}/model/Bank_Program.cpp
    ${OSTREL_ROOT}/model/FactoryData.cpp
    ${OSTREL_ROOT}/model/ProgramFile.cpp)

set(OSTREL_MIDI_SOURCES
    ${OSTREL_ROOT}/midi/MidiDevices.cpp
    ${OSTREL_ROOT}/midi/Prophet12Simulator.cpp
    ${OSTREL_ROOT}/midi/SimulatorDevices.cpp
    ${OSTREL_ROOT}/midi/LinkClock.cpp
    ${OSTREL_ROOT}/midi/MIDI_PORTS_Control.cpp
    ${OSTREL_ROOT}/midi/PortsFile.cpp
    ${OSTREL_ROOT}/midi/MidiCntrState.cpp
    ${OSTREL_ROOT}/midi/MidiCntrStateHistory.cpp
    ${OSTREL_ROOT}/midi/ProgramHistory.cpp
    ${OSTREL_ROOT}/midi/Transfers.cpp)

# The plug-in's own files that outlive an instance: settings block, bank images, editor geometry.
set(OSTREL_SETTINGS_SOURCES
    ${OSTREL_ROOT}/settings/SettingsFiles.cpp)

set(OSTREL_LIBRARY_SOURCES
    ${OSTREL_ROOT}/library/LibraryStore.cpp
    ${OSTREL_ROOT}/library/LibraryKeeper.cpp
    ${OSTREL_ROOT}/library/FileDialogs.cpp
    ${OSTREL_ROOT}/library/FileMan.cpp)

# Every source below ui/ belongs to the editor: a folder per part of the screen, a file per widget
# family and per panel.
file(GLOB_RECURSE OSTREL_UI_SOURCES CONFIGURE_DEPENDS ${OSTREL_ROOT}/ui/*.cpp)

set(OSTREL_PLUGIN_SOURCES
    ${OSTREL_ROOT}/plugin/StateChunks.cpp
    ${OSTREL_ROOT}/plugin/OstrelAudioProcessor.cpp
    ${OSTREL_ROOT}/plugin/OstrelAudioProcessorEditor.cpp
    ${OSTREL_ROOT}/plugin/StandaloneApp.cpp
    ${OSTREL_ROOT}/plugin/XErrorGuard.cpp)
