#include "swatch/swatch_file.h"

std::uint32_t SwatchFile::Open(const char* fileName) {
    Close();
    // Others may go on reading and writing the file while it is read here.
    handle_ =
        CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_READONLY, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) {
        return GetLastError();
    }
    // Only a file on a disk is read: the read of a serial device or a pipe could block for ever,
    // before any window exists. Refused before any read, as a refused access.
    BY_HANDLE_FILE_INFORMATION information;
    if (GetFileType(handle_) != FILE_TYPE_DISK ||
        !GetFileInformationByHandle(handle_, &information) ||
        (information.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
        Close();
        return ERROR_ACCESS_DENIED;
    }
    return 0;
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
