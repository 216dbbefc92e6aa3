# Windows side: the setup stub, the uninstaller and the tests that run under
# Wine.
# Everything links statically, so executables import only Windows' own DLLs.
#
# The same file is the post-build check of the stub when run as a script:
#   cmake -DEXE=<file.exe> -DOBJDUMP=<objdump> -P cmake/windows.cmake
# prints the file's size and the DLLs it imports, and fails (removing the
# file, so that the next build links it again) when one of them is not on
# the list below, DLLs that ship with every Windows system.
if(CMAKE_SCRIPT_MODE_FILE)
    cmake_minimum_required(VERSION 3.20)
    set(allowed KERNEL32.DLL USER32.DLL GDI32.DLL ADVAPI32.DLL SHELL32.DLL
                OLE32.DLL COMCTL32.DLL MSVCRT.DLL)
    get_filename_component(name "${EXE}" NAME)
    file(SIZE "${EXE}" size)
    execute_process(COMMAND "${OBJDUMP}" -p "${EXE}"
                    OUTPUT_VARIABLE dump RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        file(REMOVE "${EXE}")
        message(FATAL_ERROR "${name}: ${OBJDUMP} -p failed (${status})")
    endif()
    string(REGEX MATCHALL "DLL Name: [^\r\n]+" lines "${dump}")
    set(imports "")
    set(foreign "")
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "^DLL Name: *" "" dll "${line}")
        string(STRIP "${dll}" dll)
        list(APPEND imports "${dll}")
        string(TOUPPER "${dll}" upper)
        if(NOT upper IN_LIST allowed)
            list(APPEND foreign "${dll}")
        endif()
    endforeach()
    list(JOIN imports ", " importText)
    message("${name}: ${size} bytes; imports ${importText}")
    if(foreign)
        file(REMOVE "${EXE}")
        list(JOIN allowed ", " allowedText)
        message(FATAL_ERROR "${name} imports ${foreign}; allowed are only ${allowedText}")
    endif()
    return()
endif()

add_compile_options(-Wall -Wextra)
add_compile_definitions(WIN32_LEAN_AND_MEAN __USE_MINGW_ANSI_STDIO=0)

# Small code: the smallest the compiler makes (-Oz), no frame pointer, every
# function in its own section, so that the linker drops what nothing calls;
# no exceptions, RTTI or unwind tables. A function called once stays a
# function of its own, and none is inlined in part: either would save a call
# and cost more in spilled registers and copied tails (together 350 bytes of
# the stub). Objects in sections of their own only in the core, whose files
# hold tables and, but for CRC-32's table, no zero-initialised objects: this
# compiler puts each of those into a ".data$name" section that takes file
# space (it cost the stub 8 KB).
set(TARNVALE_SMALL_CODE -Oz -fomit-frame-pointer -ffunction-sections -fno-exceptions -fno-rtti
    -fno-asynchronous-unwind-tables -fno-inline-functions-called-once -fno-partial-inlining)
set_source_files_properties(${CORE_SOURCES} PROPERTIES COMPILE_OPTIONS -fdata-sections)
set_source_files_properties(core/crc32.cpp PROPERTIES COMPILE_OPTIONS "")
# The decoder, whose loop writes every byte the install puts on disk, is
# compiled for speed within the size budget: -Os (-O2 would add 1.9 KB),
# with the inlining that -Os does.
set_source_files_properties(core/lzss_decoder.cpp PROPERTIES COMPILE_OPTIONS
    "-fdata-sections;-Os;-finline-functions-called-once;-fpartial-inlining")
set(TARNVALE_STATIC_LINK -static -static-libgcc -static-libstdc++)

# The layers as libraries, bottom to top: core, system, shell, engine. The
# windows (tarnvale_ui, with the resources) and the top (setup/) are
# object lists that the stub and the test programs link as they need.
# Every file is compiled once, with the stub's options.
include(system/sources.cmake)
include(shell/sources.cmake)
include(engine/sources.cmake)
include(ui/sources.cmake)
include(setup/sources.cmake)
include(uninstall/sources.cmake)

# The core's file layer on Windows lives with the system helpers; whoever
# links the core links it too.
add_library(tarnvale_file_io_win STATIC system/file_io_win32.cpp)
add_library(tarnvale_core_win STATIC ${CORE_SOURCES})
target_link_libraries(tarnvale_core_win INTERFACE tarnvale_file_io_win)
add_library(tarnvale_system_win STATIC ${SYSTEM_SOURCES})
target_link_libraries(tarnvale_system_win PUBLIC tarnvale_core_win)
add_library(tarnvale_shell_win STATIC ${SHELL_SOURCES})
target_link_libraries(tarnvale_shell_win PUBLIC tarnvale_system_win ole32 shell32)
add_library(tarnvale_engine_win STATIC ${ENGINE_SOURCES})
target_link_libraries(tarnvale_engine_win PUBLIC tarnvale_shell_win)
foreach(layer file_io core system shell engine)
    target_include_directories(tarnvale_${layer}_win PUBLIC ${CMAKE_SOURCE_DIR})
    target_compile_options(tarnvale_${layer}_win PRIVATE ${TARNVALE_SMALL_CODE})
endforeach()

# The setup stub: a GUI program (WIN32 gives -mwindows) that packages get
# appended to.
add_executable(tarnvale-stub WIN32 ${SETUP_SOURCES} ${UI_SOURCES})
target_compile_options(tarnvale-stub PRIVATE ${TARNVALE_SMALL_CODE})
# Its own entry point, without the C runtime's start-up (setup_main.cpp).
# Nothing may then need that start-up's patching of imported data at run
# time: such an import fails the link instead. No relocations (2 KB): the
# program always loads at its preferred address (docs/PERFORMANCE.md weighs
# this). The link map tells scripts/stub-cost what each part costs.
target_link_options(tarnvale-stub PRIVATE ${TARNVALE_STATIC_LINK} -s -Wl,--gc-sections -nostartfiles
                    -Wl,-Map=${CMAKE_BINARY_DIR}/tarnvale-stub.map
                    -Wl,--disable-auto-import,--disable-runtime-pseudo-reloc
                    -Wl,--disable-dynamicbase,--disable-reloc-section)
target_link_libraries(tarnvale-stub PRIVATE tarnvale_engine_win)
add_custom_command(TARGET tarnvale-stub POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DEXE=$<TARGET_FILE:tarnvale-stub> -DOBJDUMP=${CMAKE_OBJDUMP}
            -P ${CMAKE_CURRENT_LIST_FILE}
    VERBATIM)

# The uninstaller that `tarnvale build` stores under [UNINSTALL] NAME: built
# like the stub (options, static link, manifest, DLL restriction, import check).
add_executable(tarnvale-uninstall WIN32 ${UNINSTALL_SOURCES} $<TARGET_OBJECTS:tarnvale_dialogs>)
target_compile_options(tarnvale-uninstall PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${TARNVALE_SMALL_CODE}>)
target_link_options(tarnvale-uninstall PRIVATE ${TARNVALE_STATIC_LINK} -s -Wl,--gc-sections)
target_link_libraries(tarnvale-uninstall PRIVATE tarnvale_engine_win)
add_custom_command(TARGET tarnvale-uninstall POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DEXE=$<TARGET_FILE:tarnvale-uninstall> -DOBJDUMP=${CMAKE_OBJDUMP}
            -P ${CMAKE_CURRENT_LIST_FILE}
    VERBATIM)

# The extraction benchmark on the setup program's file layer, to run under
# Wine (tools/bench/extract_bench.cpp).
add_executable(tarnvale-extract-bench tools/bench/extract_bench.cpp)
target_link_libraries(tarnvale-extract-bench PRIVATE tarnvale_core_win)
target_link_options(tarnvale-extract-bench PRIVATE ${TARNVALE_STATIC_LINK})

# GoogleTest for the tests that run under Wine. The posix-threads compiler
# has std::mutex, but the tests need no threads of GoogleTest's own.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${TARNVALE_GTEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# core_tests_win.exe and the Wine test programs (tests/wine).
add_subdirectory(tests)
