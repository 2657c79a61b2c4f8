#pragma once

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace tolvane::testing {

// A folder of its own for a test, removed with everything in it.
class TempDir final {
public:
    TempDir()
        : path_(std::filesystem::temp_directory_path()
            / ("tolvane-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++)))
    {
        std::filesystem::create_directories(path_);
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::filesystem::path file(const std::string& name) const { return path_ / name; }
    const std::filesystem::path& path() const { return path_; }

private:
    static inline int counter_ = 0;
    std::filesystem::path path_;
};

inline void writeBytes(
    const std::filesystem::path& path, std::string_view bytes, std::ios::openmode mode = std::ios::trunc)
{
    std::ofstream out(path, std::ios::binary | mode);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs work, which reads the named pipe fifo, on a thread of its own; true when
// it returns within five seconds. Otherwise the pipe gets the writer it waits
// for, so that a test ends either way.
inline bool returnsWithoutAWriter(const std::filesystem::path& fifo, const std::function<void()>& work)
{
    std::promise<void> done;
    std::future<void> finished = done.get_future();
    std::thread worker([&] {
        work();
        done.set_value();
    });
    const bool returned = finished.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    if (!returned) {
        const int fd = ::open(fifo.c_str(), O_WRONLY);
        if (fd >= 0)
            ::close(fd);
    }
    worker.join();
    return returned;
}

} // namespace tolvane::testing
