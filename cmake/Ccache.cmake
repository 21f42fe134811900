# ccache, when it is installed, so that a second build folder (or a build after switching
# branches) compiles little. It is never required. A compiler launcher the caller gave (the
# variable CMAKE_CXX_COMPILER_LAUNCHER or the environment variable of that name) is kept as it
# is, so ccache never runs twice.
option(VELTRIX_CCACHE "Compile through ccache when it is installed" ON)

if(VELTRIX_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER AND NOT DEFINED ENV{CMAKE_CXX_COMPILER_LAUNCHER})
    find_program(VELTRIX_CCACHE_PROGRAM ccache)
    if(VELTRIX_CCACHE_PROGRAM)
        set(CMAKE_CXX_COMPILER_LAUNCHER ${VELTRIX_CCACHE_PROGRAM})
        message(STATUS "Compiling through ccache: ${VELTRIX_CCACHE_PROGRAM}")
    endif()
endif()

# ccache caches a file compiled with a precompiled header only when told that it may ignore
# the macros and time macros inside the header (its "sloppiness"); without that every such
# file is compiled again. A target that uses a precompiled header and compiles through ccache,
# ours or the caller's, gets these on top of the sloppiness ccache is configured with.
function(veltrix_ccache_allow_pch target)
    if(NOT CMAKE_CXX_COMPILER_LAUNCHER)
        return()
    endif()
    list(GET CMAKE_CXX_COMPILER_LAUNCHER 0 launcher)
    get_filename_component(launcher_name "${launcher}" NAME)
    if(NOT launcher_name STREQUAL "ccache")
        return()
    endif()
    execute_process(COMMAND ${launcher} --get-config sloppiness
        OUTPUT_VARIABLE configured OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    string(REPLACE " " "" configured "${configured}")
    set(sloppiness pch_defines,time_macros,include_file_mtime,include_file_ctime)
    if(configured)
        string(APPEND sloppiness ",${configured}")
    endif()
    set_property(TARGET ${target} PROPERTY CXX_COMPILER_LAUNCHER
        env CCACHE_SLOPPINESS=${sloppiness} ${CMAKE_CXX_COMPILER_LAUNCHER})
endfunction()
