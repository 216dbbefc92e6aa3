# The top of the setup program (Windows side): the run sequence and the
# uninstall protection dialogue. The stub adds its entry point
# (setup/setup_main.cpp); test programs link SETUP_RUN_SOURCES with entry
# points of their own.
set(SETUP_RUN_SOURCES
    setup/protection.cpp
    setup/run_sequence.cpp)
set(SETUP_SOURCES ${SETUP_RUN_SOURCES} setup/setup_main.cpp)
