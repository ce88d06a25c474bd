# Project-wide compile settings and small helpers shared by every folder.

add_compile_options(-Wall -Wextra)
if(PENDLAR_WERROR)
    add_compile_options(-Werror)
endif()
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # GCC 12 reports -Wrestrict inside the standard library's string code at -O3 (a known
    # false positive); it would fail optimised builds with -Werror.
    add_compile_options(-Wno-restrict)
endif()

if(PENDLAR_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

if(PENDLAR_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "PENDLAR_FUZZ needs clang (configure with CXX=clang++-14)")
    endif()
    # Every library is instrumented for coverage; only the fuzz executables get the driver.
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# Where the read-only program files live when the program runs from the build tree.
set(PENDLAR_SOURCE_DATA_DIR "${PROJECT_SOURCE_DIR}/data")

# pendlar_library(NAME SOURCES... [DEPS libs...])
# One static library per subsystem; includes always name the folder ("util/Sjis.h").
function(pendlar_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_library(pendlar_${name} STATIC ${ARG_SOURCES})
    target_include_directories(pendlar_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    if(ARG_DEPS)
        target_link_libraries(pendlar_${name} PUBLIC ${ARG_DEPS})
    endif()
    add_library(pendlar::${name} ALIAS pendlar_${name})
endfunction()

# A subsystem whose code has not arrived yet: an empty interface library, so that
# every other folder can already name it.
function(pendlar_placeholder name)
    add_library(pendlar_${name} INTERFACE)
    target_include_directories(pendlar_${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    add_library(pendlar::${name} ALIAS pendlar_${name})
endfunction()
