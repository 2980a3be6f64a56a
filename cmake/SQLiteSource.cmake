# SQLite built with the core from its amalgamation, for a target without a
# SQLite library of its own (the MinGW-w64 build: Debian has none for it).
# tools/setup.sh --sqlite-source DIR puts sqlite3.c and sqlite3.h into DIR.
set(KX_SQLITE_SOURCE "" CACHE PATH "Folder with SQLite's sqlite3.c and sqlite3.h")
if(NOT EXISTS "${KX_SQLITE_SOURCE}/sqlite3.c" OR NOT EXISTS "${KX_SQLITE_SOURCE}/sqlite3.h")
    message(FATAL_ERROR "No SQLite source in KX_SQLITE_SOURCE=\"${KX_SQLITE_SOURCE}\": "
        "run tools/setup.sh --sqlite-source DIR and configure with -DKX_SQLITE_SOURCE=DIR")
endif()
enable_language(C)
add_library(kx_sqlite3 STATIC "${KX_SQLITE_SOURCE}/sqlite3.c")
# Its own code, not the project's: included as a system header, held to no
# warnings, optimised in every build type (a session save writes whole scans).
target_include_directories(kx_sqlite3 SYSTEM PUBLIC "${KX_SQLITE_SOURCE}")
target_compile_options(kx_sqlite3 PRIVATE -O2 -w)
# What the sessions use and nothing more: no extensions loaded from files, no
# double-quoted strings taken as literals.
target_compile_definitions(kx_sqlite3 PRIVATE
    SQLITE_THREADSAFE=1 SQLITE_DQS=0 SQLITE_OMIT_LOAD_EXTENSION SQLITE_OMIT_DEPRECATED
    SQLITE_USE_ALLOCA)
add_library(SQLite::SQLite3 ALIAS kx_sqlite3)
