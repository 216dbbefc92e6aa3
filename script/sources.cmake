# Sources of the install engine (Windows side): the worker, its two passes
# and the closing steps. They call the shell integration (SHELL_SOURCES).
set(SCRIPT_ENGINE_SOURCES
    script/activation_pass.cpp
    script/engine_lines.cpp
    script/entry_line.cpp
    script/file_pass.cpp
    script/install_worker.cpp)

# The worker's codec is a zero-initialised object: kept in .bss (see the
# note on setup/setup_main.cpp in cmake/windows.cmake).
set_source_files_properties(script/install_worker.cpp PROPERTIES COMPILE_OPTIONS -fno-data-sections)
