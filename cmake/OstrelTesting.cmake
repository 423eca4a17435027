# ostrel_add_gtest(<target> LABELS <labels...> SOURCES <files...>)
#
# A GoogleTest executable that links the plug-in's shared-code target, so tests exercise exactly
# the code the plug-in ships and JUCE is compiled once. The shared-code target keeps JUCE's include
# paths and definitions to itself, so they are taken over here.
find_package(GTest REQUIRED)
include(GoogleTest)

function(ostrel_add_gtest target)
    cmake_parse_arguments(ARG "" "" "LABELS;SOURCES" ${ARGN})
    add_executable(${target} ${ARG_SOURCES} "${PROJECT_SOURCE_DIR}/tests/TestMain.cpp")
    target_link_libraries(${target} PRIVATE Ostrel GTest::gtest)
    target_include_directories(${target} PRIVATE $<TARGET_PROPERTY:Ostrel,INCLUDE_DIRECTORIES>)
    target_compile_definitions(${target} PRIVATE $<TARGET_PROPERTY:Ostrel,COMPILE_DEFINITIONS>)
    gtest_discover_tests(${target}
        DISCOVERY_MODE PRE_TEST
        PROPERTIES LABELS "${ARG_LABELS}")
endfunction()
