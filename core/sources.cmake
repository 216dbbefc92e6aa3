# The portable core: the payload container, the LZSS codec, the install
# script's vocabulary and rules, bounded texts and the arithmetic of the
# windows. No file here includes <windows.h> (scripts/check-layers checks).
# The file layer (file_io.h) is implemented by core/file_io_posix.cpp on
# the host and by system/file_io_win32.cpp on Windows.
set(CORE_SOURCES
    core/bounded_text.cpp
    core/crc32.cpp
    core/entry_line.cpp
    core/entry_rules.cpp
    core/gradient.cpp
    core/install_path.cpp
    core/install_log.cpp
    core/install_steps.cpp
    core/license_text.cpp
    core/lzss_decoder.cpp
    core/lzss_encoder.cpp
    core/lzss_memory.cpp
    core/lzss_stream.cpp
    core/password_rules.cpp
    core/pe_image.cpp
    core/profile_reader.cpp
    core/run_arithmetic.cpp
    core/run_text.cpp
    core/script_vocabulary.cpp
    core/sfx_archive.cpp
    core/sfx_writer.cpp
    core/target_dirs.cpp
    core/uninstall_args.cpp)
