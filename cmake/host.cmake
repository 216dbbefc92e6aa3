# Host side: the portable core, the tarnvale tool, native tests and
# benchmark. The core builds without exceptions or RTTI, as in the stub.
include(CTest)

set(SANITIZE_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
add_compile_options(-Wall -Wextra)

set(HOST_SOURCES ${CORE_SOURCES} core/file_io_posix.cpp)
add_library(tarnvale_core STATIC ${HOST_SOURCES})
set_source_files_properties(${HOST_SOURCES} PROPERTIES COMPILE_OPTIONS "-fno-exceptions;-fno-rtti")
target_include_directories(tarnvale_core PUBLIC ${CMAKE_SOURCE_DIR})

# The same core under AddressSanitizer and UndefinedBehaviorSanitizer.
add_library(tarnvale_core_san STATIC ${HOST_SOURCES})
target_include_directories(tarnvale_core_san PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(tarnvale_core_san PUBLIC ${SANITIZE_FLAGS} -O1)
target_link_options(tarnvale_core_san PUBLIC ${SANITIZE_FLAGS})

add_subdirectory(tools)

if(BUILD_TESTING)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${TARNVALE_GTEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    add_subdirectory(tests)
endif()

# The Windows side, built by the same command. Its programs run under Wine
# in the tests, so they are built for the prefix this machine's Wine can run
# (tests/wine/wine-arch): 32-bit as shipped, or x86-64 where the kernel runs
# 64-bit user code only. There the shipped 32-bit stub and uninstaller are
# built beside them, in bin/i686.
execute_process(COMMAND sh ${CMAKE_SOURCE_DIR}/tests/wine/wine-arch
                OUTPUT_VARIABLE detected_arch OUTPUT_STRIP_TRAILING_WHITESPACE)
set(TARNVALE_WINE_ARCH ${detected_arch} CACHE STRING "win32 or win64: the Wine prefix the tests use")
if(TARNVALE_WINE_ARCH STREQUAL "win64")
    set(windows_toolchain toolchain-x86_64-mingw.cmake)
else()
    set(windows_toolchain toolchain-i686-mingw.cmake)
endif()
include(ExternalProject)
ExternalProject_Add(windows
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/windows
    CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/${windows_toolchain}
        -DCMAKE_BUILD_TYPE=MinSizeRel
        -DCMAKE_RUNTIME_OUTPUT_DIRECTORY=${CMAKE_BINARY_DIR}/bin
        -DTARNVALE_GTEST_DIR=${TARNVALE_GTEST_DIR}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    USES_TERMINAL_BUILD ON)
if(TARNVALE_WINE_ARCH STREQUAL "win64")
    ExternalProject_Add(windows_i686
        SOURCE_DIR ${CMAKE_SOURCE_DIR}
        BINARY_DIR ${CMAKE_BINARY_DIR}/windows-i686
        CMAKE_ARGS
            -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/toolchain-i686-mingw.cmake
            -DCMAKE_BUILD_TYPE=MinSizeRel
            -DCMAKE_RUNTIME_OUTPUT_DIRECTORY=${CMAKE_BINARY_DIR}/bin/i686
            -DTARNVALE_GTEST_DIR=${TARNVALE_GTEST_DIR}
        BUILD_COMMAND ${CMAKE_COMMAND} --build . --target tarnvale-stub tarnvale-uninstall
        INSTALL_COMMAND ""
        BUILD_ALWAYS ON
        USES_TERMINAL_BUILD ON)
endif()
