# Windows side: the programs that show the windows of ui/ under Wine, built
# from the same objects as the stub (tarnvale_ui, resources included). The
# setup helpers and settings they call are stood in for by ui_fake_system
# and ui_fake_wizard, the install engine by worker_stand_in.
#   ui_dialogs_test.exe   GoogleTest cases of the templates and windows
#   ui_showcase.exe       shows one window for scripts/screenshots
set(UI_WINE_DIR ${CMAKE_SOURCE_DIR}/tests/wine)

add_executable(ui_dialogs_test
    ${UI_WINE_DIR}/ui_templates_test.cpp
    ${UI_WINE_DIR}/ui_windows_test.cpp
    ${UI_WINE_DIR}/ui_wizard_test.cpp
    ${UI_WINE_DIR}/ui_fake_system.cpp
    ${UI_WINE_DIR}/ui_fake_wizard.cpp
    ${UI_WINE_DIR}/worker_stand_in.cpp
    $<TARGET_OBJECTS:tarnvale_ui>)
target_include_directories(ui_dialogs_test PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(ui_dialogs_test PRIVATE tarnvale_core_win gtest_main gdi32)
target_link_options(ui_dialogs_test PRIVATE ${TARNVALE_STATIC_LINK})

add_executable(ui_showcase
    ${UI_WINE_DIR}/ui_showcase.cpp
    ${UI_WINE_DIR}/ui_fake_system.cpp
    ${UI_WINE_DIR}/ui_fake_wizard.cpp
    ${UI_WINE_DIR}/worker_stand_in.cpp
    $<TARGET_OBJECTS:tarnvale_ui>)
target_include_directories(ui_showcase PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(ui_showcase PRIVATE tarnvale_core_win)
target_compile_options(ui_showcase PRIVATE ${TARNVALE_SMALL_CODE})
target_link_options(ui_showcase PRIVATE ${TARNVALE_STATIC_LINK})
