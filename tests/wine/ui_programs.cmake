# Windows side: the programs that show the windows of ui/ under Wine, built
# from the same objects as the stub (tarnvale_ui, resources included). The
# settings and system helpers they call are stood in for by ui_fake_system,
# the install engine by worker_stand_in.
#   ui_dialogs_test.exe   GoogleTest cases of the windows
#   ui_showcase.exe       shows one window for scripts/screenshots
set(UI_WINE_DIR ${CMAKE_SOURCE_DIR}/tests/wine)
foreach(program ui_dialogs_test ui_showcase)
    add_executable(${program} ${UI_WINE_DIR}/ui_fake_system.cpp ${UI_WINE_DIR}/worker_stand_in.cpp
                   ${UI_SOURCES})
    target_include_directories(${program} PRIVATE ${CMAKE_SOURCE_DIR})
    target_link_options(${program} PRIVATE ${TARNVALE_STATIC_LINK})
endforeach()
target_sources(ui_dialogs_test PRIVATE ${UI_WINE_DIR}/ui_windows_test.cpp)
target_link_libraries(ui_dialogs_test PRIVATE tarnvale_core_win gtest_main gdi32)
target_sources(ui_showcase PRIVATE ${UI_WINE_DIR}/ui_showcase.cpp)
target_link_libraries(ui_showcase PRIVATE tarnvale_core_win)
target_compile_options(ui_showcase PRIVATE ${TARNVALE_SMALL_CODE})
