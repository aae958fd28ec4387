# Compiler settings shared by the project's own targets (not by GoogleTest or other third-party code).

function(tintwell_target_defaults target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wpedantic
        $<$<BOOL:${TINTWELL_WERROR}>:-Werror>)
    if(WIN32)
        # The program is ANSI on purpose and targets Windows 7 and later.
        target_compile_definitions(${target} PRIVATE _WIN32_WINNT=0x0601 WINVER=0x0601
            WIN32_LEAN_AND_MEAN NOMINMAX)
        # One thread: function-local statics need no locks, which would pull a threads library
        # into every program.
        target_compile_options(${target} PRIVATE -ffunction-sections -fdata-sections
            -fno-threadsafe-statics)
    endif()
endfunction()

# Native builds of the portable code, instrumented for the unit tests and the fuzzer.
set(TINTWELL_SANITIZE_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
    -fno-omit-frame-pointer)

# GoogleTest: compiled from the distribution's sources for Windows, the installed library natively.
macro(tintwell_find_gtest)
    if(NOT TARGET GTest::gtest)
        if(WIN32)
            set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
            set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
            add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
            if(NOT TARGET GTest::gtest)
                add_library(GTest::gtest ALIAS gtest)
                add_library(GTest::gtest_main ALIAS gtest_main)
            endif()
        else()
            find_package(GTest REQUIRED)
        endif()
    endif()
endmacro()

# cmake/wine-run exits 77 where Wine cannot run a Windows test program (32-bit Wine on a machine
# without 32-bit Linux support): ctest then reports the test skipped, not failed. Called at the end
# of each folder that adds tests, for the tests added so far.
function(tintwell_skip_without_wine)
    get_property(tests DIRECTORY PROPERTY TESTS)
    if(WIN32 AND CMAKE_CROSSCOMPILING AND tests)
        set_tests_properties(${tests} PROPERTIES SKIP_RETURN_CODE 77)
    endif()
endfunction()
