# Windows side: the setup stub and the tests that run under Wine.
# Everything links statically, so executables import only Windows' own DLLs.
add_compile_options(-Wall -Wextra)
add_compile_definitions(WIN32_LEAN_AND_MEAN __USE_MINGW_ANSI_STDIO=0)

add_library(tarnvale_core_win STATIC ${PAYLOAD_SOURCES} payload/file_io_win32.cpp)
target_include_directories(tarnvale_core_win PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(tarnvale_core_win PRIVATE -Os -fno-exceptions -fno-rtti)
