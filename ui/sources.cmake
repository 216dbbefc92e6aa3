# Sources of the windows and dialogs, and the resource script (Windows side).
set(UI_SOURCES)
