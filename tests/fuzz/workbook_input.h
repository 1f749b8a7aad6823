#pragma once
// The fuzz targets' inputs as files: both readers take a path, so each input is written to an
// anonymous in-memory file and read back through /proc/self/fd.
#include <cstddef>
#include <cstdint>
#include <string>

namespace kalvar::fuzz {

class MemoryFile {
  public:
    MemoryFile(const uint8_t* data, size_t size);
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;
    const std::string& path() const { return path_; }

  private:
    int fd_ = -1;
    std::string path_;
};

} // namespace kalvar::fuzz
