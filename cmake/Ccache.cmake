# Builds on two cores are the slow part; reuse objects between clean clones when ccache is installed.
find_program(OSTREL_CCACHE ccache)
if(OSTREL_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
    set(CMAKE_C_COMPILER_LAUNCHER "${OSTREL_CCACHE}")
    set(CMAKE_CXX_COMPILER_LAUNCHER "${OSTREL_CCACHE}")
endif()
