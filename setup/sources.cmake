# Sources of the setup driver and its helpers (Windows side).
set(SETUP_SOURCES
    setup/dll_search.cpp
    setup/setup_main.cpp
    setup/system_helpers.cpp
    setup/workspace.cpp)
