#include "swatch/swatch_file.h"

std::uint32_t SwatchFile::Open(const char* fileName) {
    Close();
    // Others may go on reading and writing the file while it is read here.
    handle_ =
        CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_READONLY, nullptr);
    return handle_ == INVALID_HANDLE_VALUE ? GetLastError() : 0;
}

bool SwatchFile::Read(void* buffer, std::uint32_t size, std::uint32_t* bytesRead) {
    DWORD got = 0;
    if (!ReadFile(handle_, buffer, size, &got, nullptr)) {
        return false;
    }
    *bytesRead = got;
    return true;
}

bool SwatchFile::Size(std::uint64_t* size) {
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(handle_, &length)) {
        return false;
    }
    *size = static_cast<std::uint64_t>(length.QuadPart);
    return true;
}

void SwatchFile::Close() {
    if (handle_ != INVALID_HANDLE_VALUE) {
        CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
}
