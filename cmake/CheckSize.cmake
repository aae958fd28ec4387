# Fails when the program EXE is larger than MAX_BYTES: a download a user trusts is small.
# Run with -DEXE=... -DMAX_BYTES=...
cmake_minimum_required(VERSION 3.25)
file(SIZE ${EXE} size)
if(size GREATER MAX_BYTES)
    message(FATAL_ERROR "${EXE} is ${size} bytes, more than ${MAX_BYTES}")
endif()
message(STATUS "${EXE}: ${size} bytes (at most ${MAX_BYTES})")
