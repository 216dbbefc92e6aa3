# Windows side: the windows and dialogs, the wizard and its pages, and the
# resource script with the icon and the manifest, as one object library;
# the password dialog and the registration of the common controls apart,
# since the uninstaller links them with resources of its own.
# UI_SOURCES hands all these objects to the stub; test programs link the
# same objects. The installing page starts the install engine
# (engine/install_worker.h): a program that links these objects links the
# engine as well, or a stand-in of its own.
#
# Icon 101 is drawn at build time by tools/icongen, a host program built
# here with the host's own C++ compiler.
find_program(TARNVALE_HOST_CXX NAMES clang++ c++ g++ REQUIRED)
set(TARNVALE_ICONGEN ${CMAKE_BINARY_DIR}/host/icongen)
set(TARNVALE_ICON ${CMAKE_BINARY_DIR}/resources/setup.ico)
add_custom_command(OUTPUT ${TARNVALE_ICONGEN}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
    COMMAND ${TARNVALE_HOST_CXX} -std=c++17 -O2 -Wall -Wextra
            -o ${TARNVALE_ICONGEN} ${CMAKE_SOURCE_DIR}/tools/icongen/icongen.cpp
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/icongen/icongen.cpp
    COMMENT "Building the host program icongen"
    VERBATIM)
add_custom_command(OUTPUT ${TARNVALE_ICON}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/resources
    COMMAND ${TARNVALE_ICONGEN} ${TARNVALE_ICON}
    DEPENDS ${TARNVALE_ICONGEN}
    COMMENT "Drawing the setup icon"
    VERBATIM)

set(TARNVALE_RESOURCE_SCRIPT ${CMAKE_SOURCE_DIR}/resources/setup.rc)
add_library(tarnvale_ui OBJECT
    ui/backdrop_window.cpp
    ui/extraction_progress.cpp
    ui/directory_page.cpp
    ui/installing_page.cpp
    ui/license_page.cpp
    ui/preparing_dialog.cpp
    ui/restart_dialog.cpp
    ui/wizard_frame.cpp
    ${TARNVALE_RESOURCE_SCRIPT})
target_include_directories(tarnvale_ui PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(tarnvale_ui PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${TARNVALE_SMALL_CODE}>)
# windres: the script's includes and files (resource_ids.h, setup.manifest,
# the drawn setup.ico), and a rebuild when any of them changes.
set_source_files_properties(${TARNVALE_RESOURCE_SCRIPT} PROPERTIES
    INCLUDE_DIRECTORIES "${CMAKE_SOURCE_DIR}/resources;${CMAKE_BINARY_DIR}/resources"
    OBJECT_DEPENDS "${TARNVALE_ICON};${CMAKE_SOURCE_DIR}/resources/setup.manifest;${CMAKE_SOURCE_DIR}/resources/resource_ids.h")

add_library(tarnvale_dialogs OBJECT ui/dialog_controls.cpp ui/password_dialog.cpp)
target_include_directories(tarnvale_dialogs PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(tarnvale_dialogs PRIVATE ${TARNVALE_SMALL_CODE})

set(UI_SOURCES $<TARGET_OBJECTS:tarnvale_ui> $<TARGET_OBJECTS:tarnvale_dialogs>)
