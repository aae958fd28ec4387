#pragma once

#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#endif

// A swatch file open for one sequential read: the platform's file calls behind one small interface
// so that the reader above it is the same everywhere.
class SwatchFile {
  public:
    SwatchFile() = default;
    ~SwatchFile() { Close(); }
    SwatchFile(const SwatchFile&) = delete;
    SwatchFile& operator=(const SwatchFile&) = delete;

    // Opens an existing file for reading; gives 0, or the Win32 error code of the failure.
    std::uint32_t Open(const char* fileName);
    // Reads up to `size` bytes; false on failure, else true with the byte count (0 at the end).
    bool Read(void* buffer, std::uint32_t size, std::uint32_t* bytesRead);
    // The file's length in bytes when it was asked; false when it cannot be told.
    bool Size(std::uint64_t* size);
    void Close();

  private:
#ifdef _WIN32
    HANDLE handle_ = INVALID_HANDLE_VALUE;
#else
    int fd_ = -1;
#endif
};
