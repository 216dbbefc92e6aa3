# The install engine (Windows side): the worker, its two passes and the
# closing steps. It calls the shell integration (SHELL_SOURCES).
set(ENGINE_SOURCES
    engine/activation_pass.cpp
    engine/engine_lines.cpp
    engine/file_pass.cpp
    engine/install_undo.cpp
    engine/install_worker.cpp)

# The worker's decoder is a zero-initialised object: kept in .bss (see the
# note on setup/setup_main.cpp in cmake/windows.cmake).
set_source_files_properties(engine/install_worker.cpp PROPERTIES COMPILE_OPTIONS -fno-data-sections)
