#include "workbook_input.h"

#include <cstdlib>

#include <sys/mman.h>
#include <unistd.h>

namespace kalvar::fuzz {

MemoryFile::MemoryFile(const uint8_t* data, size_t size) {
    fd_ = memfd_create("workbook", MFD_CLOEXEC);
    if (fd_ < 0) std::abort();
    for (size_t done = 0; done < size;) {
        const ssize_t n = write(fd_, data + done, size - done);
        if (n <= 0) std::abort();
        done += static_cast<size_t>(n);
    }
    path_ = "/proc/self/fd/" + std::to_string(fd_);
}

MemoryFile::~MemoryFile() {
    close(fd_);
}

} // namespace kalvar::fuzz
