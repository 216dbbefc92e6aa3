# The uninstaller, tarnvale-uninstall.exe (Windows side): its entry point,
# the hand-over to its copy in the temporary folder, the uninstall itself,
# and its resources (the setup program's icon and manifest, its own
# dialogs). It links the password dialog (tarnvale_dialogs) and the engine,
# whose UndoInstallLog does the removing.
set(UNINSTALL_SOURCES
    uninstall/hand_over.cpp
    uninstall/uninstall_main.cpp
    uninstall/uninstall_run.cpp
    resources/uninstall.rc)

set_source_files_properties(resources/uninstall.rc PROPERTIES
    INCLUDE_DIRECTORIES "${CMAKE_SOURCE_DIR}/resources;${CMAKE_BINARY_DIR}/resources"
    OBJECT_DEPENDS "${TARNVALE_ICON};${CMAKE_SOURCE_DIR}/resources/setup.manifest;${CMAKE_SOURCE_DIR}/resources/resource_ids.h")
