# Warnings and sanitizers for the project's own targets. Third-party code
# (Qt, GoogleTest) is included as system headers and is not held to them.
add_library(kx_options INTERFACE)
target_compile_options(kx_options INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wfloat-conversion -Werror)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # GCC 12 reports std::string assignments inlined at -O2 as overlapping
    # copies (a known false positive of its libstdc++).
    target_compile_options(kx_options INTERFACE -Wno-restrict)
endif()

if(KX_SANITIZE)
    set(KX_SAN_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer
        -fno-sanitize-recover=undefined)
    add_compile_options(${KX_SAN_FLAGS})
    add_link_options(${KX_SAN_FLAGS})
endif()

# The fuzz build instruments the libraries too, so that libFuzzer sees the
# coverage of the code under test and not only of the target's own file.
option(KX_FUZZ_COVERAGE "Instrument all code for libFuzzer (clang fuzz builds)" OFF)
if(KX_FUZZ_COVERAGE)
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# kx_add_module(name SOURCES ... DEPENDS ...): one library per core module.
function(kx_add_module name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS} PRIVATE kx_options)
endfunction()
