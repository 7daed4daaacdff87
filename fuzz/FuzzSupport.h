// What the fuzz targets share: a scratch file for readers that take a path,
// and a way to stop on a broken invariant that libFuzzer reports as a crash.
#pragma once

#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzz {

[[noreturn]] inline void Fail(const char* target, const char* what)
{
    std::fprintf(stderr, "%s: broken invariant: %s\n", target, what);
    std::abort();
}

// A file of this process in memory-backed storage where there is one, so an
// execution costs no disk writes.
inline std::string ScratchPath(const char* name)
{
    const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(dir) + "/" + name + "-" + std::to_string(getpid());
}

inline void WriteScratch(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) Fail("fuzz", "scratch file cannot be written");
    if (size > 0 && std::fwrite(data, 1, size, f) != size) Fail("fuzz", "scratch file cannot be written");
    std::fclose(f);
}

}  // namespace fuzz
