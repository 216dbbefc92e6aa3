# Sources of the setup driver, its helpers and uninstall protection
# (Windows side), with the target directories of the install script that
# the run resolves.
set(SETUP_RUN_SOURCES
    setup/dll_search.cpp
    setup/extraction_progress.cpp
    setup/password_dialog.cpp
    setup/password_rules.cpp
    setup/protection.cpp
    setup/run_arithmetic.cpp
    setup/run_sequence.cpp
    setup/run_text.cpp
    setup/settings.cpp
    setup/system_helpers.cpp
    setup/workspace.cpp
    script/entry_rules.cpp
    script/target_dirs.cpp
    script/target_dirs_win32.cpp)
# The stub is the run with the program's own entry point; test programs
# link SETUP_RUN_SOURCES with entry points of their own.
set(SETUP_SOURCES ${SETUP_RUN_SOURCES} setup/setup_main.cpp)

# The settings are zero-initialised buffers: kept in .bss (see the note on
# setup_main.cpp in cmake/windows.cmake).
set_source_files_properties(setup/settings.cpp PROPERTIES COMPILE_OPTIONS -fno-data-sections)

