#include "platform/filecopy.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <linux/magic.h>
#include <memory>
#include <utility>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace platform {

namespace {

bool kernelFileSystem(const struct statfs &fs)
{
    switch (fs.f_type) {
    case PROC_SUPER_MAGIC:
    case SYSFS_MAGIC:
    case DEBUGFS_MAGIC:
    case TRACEFS_MAGIC:
    case SECURITYFS_MAGIC:
    case CGROUP_SUPER_MAGIC:
    case CGROUP2_SUPER_MAGIC:
    case BPF_FS_MAGIC:
    case DEVPTS_SUPER_MAGIC:
    case EFIVARFS_MAGIC:
    case PSTOREFS_MAGIC:
        return true;
    default:
        return false;
    }
}

class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return m_fd; }
    // Closes now; false when closing reported an error (a write that could
    // not land after all).
    bool close()
    {
        const int fd = std::exchange(m_fd, -1);
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool fail(std::error_code &ec, int error)
{
    ec = std::error_code(error, std::generic_category());
    return false;
}

// Copies [from, end) of in to the same place in out.
bool copyRange(int in, int out, off_t from, off_t end, char *buffer, size_t size, const std::atomic<bool> *stop,
               std::error_code &ec)
{
    while (from < end) {
        if (stop && stop->load(std::memory_order_relaxed))
            return fail(ec, ECANCELED);
        const size_t want = size_t(std::min<off_t>(off_t(size), end - from));
        const ssize_t got = ::pread(in, buffer, want, from);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return fail(ec, errno);
        if (got == 0)
            break; // the file shrank under the copy
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::pwrite(out, buffer + done, size_t(got - done), from + done);
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0)
                return fail(ec, put < 0 ? errno : EIO);
            done += put;
        }
        from += got;
    }
    return true;
}

} // namespace

bool onKernelFileSystem(const char *path)
{
    struct statfs fs;
    return ::statfs(path, &fs) == 0 && kernelFileSystem(fs);
}

bool copyFileKeepingHoles(const char *from, const char *to, const std::atomic<bool> *stop, std::error_code &ec)
{
    ec.clear();
    // Not blocking: a pipe put in the file's place must not hold the copy.
    Fd in(::open(from, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (in.get() < 0)
        return fail(ec, errno);
    struct stat st;
    struct statfs fs;
    if (::fstat(in.get(), &st) != 0 || ::fstatfs(in.get(), &fs) != 0)
        return fail(ec, errno);
    if (!S_ISREG(st.st_mode) || kernelFileSystem(fs))
        return fail(ec, ENOTSUP);

    Fd out(::open(to, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 0777));
    if (out.get() < 0)
        return fail(ec, errno);
    const auto unlinkOnFailure = [&](int error) {
        out.close();
        ::unlink(to);
        return fail(ec, error);
    };
    // What the source takes on its disk is what its copy will take.
    struct statvfs room;
    if (::fstatvfs(out.get(), &room) == 0 && !(room.f_flag & ST_RDONLY)) {
        const unsigned long long needed = static_cast<unsigned long long>(st.st_blocks) * 512ULL;
        const unsigned long long available = static_cast<unsigned long long>(room.f_bavail) * room.f_frsize;
        if (needed > available)
            return unlinkOnFailure(ENOSPC);
    }

    constexpr size_t bufferSize = 1 << 20;
    const std::unique_ptr<char[]> buffer(new char[bufferSize]);
    const off_t size = st.st_size;
    for (off_t at = 0; at < size;) {
        off_t data = ::lseek(in.get(), at, SEEK_DATA);
        off_t hole = size;
        if (data < 0 && errno == ENXIO)
            break; // only a hole is left
        if (data < 0 && errno != EINVAL)
            return unlinkOnFailure(errno);
        if (data < 0) {
            data = at; // a file system that cannot tell: all of it is data
        } else {
            hole = ::lseek(in.get(), data, SEEK_HOLE);
            hole = hole < 0 ? size : std::min(hole, size);
        }
        if (data >= size)
            break;
        if (!copyRange(in.get(), out.get(), data, hole, buffer.get(), bufferSize, stop, ec))
            return unlinkOnFailure(ec.value());
        at = hole;
    }
    // The holes at the end make the copy as long as the source.
    if (::ftruncate(out.get(), size) != 0)
        return unlinkOnFailure(errno);
    if (!out.close())
        return unlinkOnFailure(errno);
    return true;
}

} // namespace platform
