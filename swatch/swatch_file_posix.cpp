#include "swatch/swatch_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The Win32 codes a failed open reports, so that callers see the same status words everywhere.
constexpr std::uint32_t kErrorFileNotFound = 2;
constexpr std::uint32_t kErrorPathNotFound = 3;
constexpr std::uint32_t kErrorTooManyOpenFiles = 4;
constexpr std::uint32_t kErrorAccessDenied = 5;
constexpr std::uint32_t kErrorNotEnoughMemory = 8;
constexpr std::uint32_t kErrorGenFailure = 31;
constexpr std::uint32_t kErrorFilenameExcedRange = 206;
constexpr std::uint32_t kErrorCantResolveFilename = 1921;

constexpr int kMaxInterruptedReads = 100;

std::uint32_t Win32ErrorFromErrno(int error) {
    switch (error) {
    case ENOENT:
        return kErrorFileNotFound;
    case ENOTDIR:
        return kErrorPathNotFound;
    case EMFILE:
    case ENFILE:
        return kErrorTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EISDIR:
        return kErrorAccessDenied;
    case ENOMEM:
        return kErrorNotEnoughMemory;
    case ENAMETOOLONG:
        return kErrorFilenameExcedRange;
    case ELOOP:
        return kErrorCantResolveFilename;
    default:
        return kErrorGenFailure;
    }
}

}  // namespace

std::uint32_t SwatchFile::Open(const char* fileName) {
    Close();
    // Without O_NONBLOCK the open of a FIFO would wait for a writer, for ever.
    const int fd = open(fileName, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return Win32ErrorFromErrno(errno);
    }
    // Only a regular file is read: a directory, as CreateFileA refuses it, and a device, pipe or
    // FIFO, whose read could block for ever, are refused before any read, as a refused access.
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        close(fd);
        return kErrorAccessDenied;
    }
    fd_ = fd;
    return 0;
}

bool SwatchFile::Read(void* buffer, std::uint32_t size, std::uint32_t* bytesRead) {
    for (int attempt = 0; attempt < kMaxInterruptedReads; ++attempt) {
        const ssize_t got = read(fd_, buffer, size);
        if (got >= 0) {
            *bytesRead = static_cast<std::uint32_t>(got);
            return true;
        }
        if (errno != EINTR) {
            return false;
        }
    }
    return false;
}

bool SwatchFile::Size(std::uint64_t* size) {
    struct stat info;
    if (fstat(fd_, &info) != 0) {
        return false;
    }
    *size = static_cast<std::uint64_t>(info.st_size);
    return true;
}

void SwatchFile::Close() {
    if (fd_ >= 0) {
        close(fd_);
        fd_ = -1;
    }
}
