#include "FileAccess.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quill::settings {

namespace {

    // Owns a file descriptor.
    class FileDescriptor {
    public:
        explicit FileDescriptor(int fd)
            : m_fd(fd)
        {
        }
        ~FileDescriptor()
        {
            if (m_fd >= 0)
                ::close(m_fd);
        }
        FileDescriptor(const FileDescriptor&) = delete;
        FileDescriptor& operator=(const FileDescriptor&) = delete;

        int get() const { return m_fd; }
        bool valid() const { return m_fd >= 0; }
        // Closes now and reports the result: on some file systems a failed write
        // only shows at close.
        bool close()
        {
            const int fd = m_fd;
            m_fd = -1;
            return ::close(fd) == 0;
        }

    private:
        int m_fd;
    };

    // Removes the temporary file unless it was renamed into place.
    class TemporaryFileGuard {
    public:
        explicit TemporaryFileGuard(std::string path)
            : m_path(std::move(path))
        {
        }
        ~TemporaryFileGuard()
        {
            if (!m_released)
                ::unlink(m_path.c_str());
        }
        TemporaryFileGuard(const TemporaryFileGuard&) = delete;
        TemporaryFileGuard& operator=(const TemporaryFileGuard&) = delete;

        void release() { m_released = true; }

    private:
        std::string m_path;
        bool m_released = false;
    };

    bool WriteAll(int fd, std::string_view bytes)
    {
        while (!bytes.empty()) {
            const ssize_t written = ::write(fd, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return false;
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
        return true;
    }

    std::string RandomSuffix()
    {
        std::random_device source;
        std::array<char, 17> text {};
        std::snprintf(text.data(), text.size(), "%08x%08x", source(), source());
        return text.data();
    }

    // A new, empty file beside target with a name nobody else uses, created with
    // the usual 0666 & ~umask so that a new settings file gets normal rights.
    FileDescriptor CreateTemporaryBeside(const std::filesystem::path& target, std::string& createdPath)
    {
        constexpr int kAttempts = 16;
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            std::filesystem::path candidate = target;
            candidate.replace_filename("." + target.filename().string() + ".tmp-" + RandomSuffix());
            const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                createdPath = candidate.string();
                return FileDescriptor(fd);
            }
            if (errno != EEXIST)
                break;
        }
        return FileDescriptor(-1);
    }

} // namespace

FileBytes ReadFileBytes(const std::string& path)
{
    // Non-blocking so that a FIFO in the file's place cannot stall the open;
    // regular files read the same either way.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file.valid())
        return { errno == ENOENT ? ReadStatus::Missing : ReadStatus::Failed, {} };
    struct stat info { };
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return { ReadStatus::Failed, {} };

    FileBytes result { ReadStatus::Read, {} };
    result.bytes.reserve(static_cast<std::size_t>(info.st_size));
    std::array<char, 64 * 1024> chunk {};
    for (;;) {
        const ssize_t count = ::read(file.get(), chunk.data(), chunk.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return { ReadStatus::Failed, {} };
        if (count == 0)
            break;
        result.bytes.append(chunk.data(), static_cast<std::size_t>(count));
    }
    return result;
}

bool ReplaceFileContents(const std::string& path, std::string_view bytes)
{
    std::error_code error;
    std::filesystem::path target = path;
    // Renaming over a link would replace the link itself.
    if (std::filesystem::is_symlink(target, error)) {
        target = std::filesystem::canonical(target, error);
        if (error)
            return false;
    }

    struct stat existing { };
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode))
        return false;

    std::string temporaryPath;
    FileDescriptor temporary = CreateTemporaryBeside(target, temporaryPath);
    if (!temporary.valid())
        return false;
    TemporaryFileGuard guard(temporaryPath);

    if (!WriteAll(temporary.get(), bytes))
        return false;
    if (exists && ::fchmod(temporary.get(), existing.st_mode & 07777) != 0)
        return false;
    if (::fsync(temporary.get()) != 0 || !temporary.close())
        return false;
    if (::rename(temporaryPath.c_str(), target.c_str()) != 0)
        return false;
    guard.release();
    return true;
}

} // namespace quill::settings
