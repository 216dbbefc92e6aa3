# Sources of the shell integration (Windows side): shortcuts, startup
# entries, Run values, external programs and library entry points.
set(SHELL_SOURCES
    shell/programs.cpp
    shell/shortcuts.cpp)
