# Win32 helpers and the process-wide settings (Windows side).
set(SYSTEM_SOURCES
    system/dll_search.cpp
    system/install_log_file.cpp
    system/settings.cpp
    system/system_helpers.cpp
    system/target_dirs_win32.cpp
    system/workspace.cpp)

# The settings are zero-initialised buffers: kept in .bss (see the note on
# setup_main.cpp in cmake/windows.cmake).
set_source_files_properties(system/settings.cpp PROPERTIES COMPILE_OPTIONS -fno-data-sections)
