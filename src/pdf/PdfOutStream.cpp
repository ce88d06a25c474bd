#include "pdf/PdfOutStream.h"

#include "util/FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace pendlar {
namespace {

// Large enough that image data goes out in few system calls, small enough not to matter.
constexpr std::size_t kBufferSize = 1 << 16;

} // namespace

PdfFileOutStream::PdfFileOutStream(std::string_view sjisPath)
    : sjisPath_(sjisPath), target_(FsPath(sjisPath).string()) {
    std::filesystem::path target(target_);
    temp_ = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    fd_ = ::mkstemp(temp_.data());
    if (fd_ < 0) {
        int error = errno;
        temp_.clear();
        Fail("Cannot create file", error);
    }
    buffer_.reserve(kBufferSize);
}

PdfFileOutStream::~PdfFileOutStream() {
    if (fd_ >= 0)
        ::close(fd_);
    if (!temp_.empty())
        ::unlink(temp_.c_str());
}

void PdfFileOutStream::WriteBytes(const char* data, std::size_t size) {
    if (fd_ < 0)
        throw std::runtime_error("Cannot write file \"" + sjisPath_ + "\". It is closed.");
    if (buffer_.size() + size <= kBufferSize) {
        buffer_.append(data, size);
        return;
    }
    Flush();
    if (size < kBufferSize) {
        buffer_.append(data, size);
        return;
    }
    if (!WriteAll(fd_, std::string_view(data, size)))
        Fail("Cannot write file", errno);
}

void PdfFileOutStream::Flush() {
    if (!WriteAll(fd_, buffer_))
        Fail("Cannot write file", errno);
    buffer_.clear();
}

void PdfFileOutStream::Commit() {
    Flush();
    if (::fsync(fd_) != 0)
        Fail("Cannot write file", errno);
    int rc = ::close(fd_);
    fd_ = -1;
    if (rc != 0)
        Fail("Cannot write file", errno);
    // mkstemp creates the file private; give it the permissions of any new file.
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(temp_.c_str(), 0666 & ~mask);
    if (std::rename(temp_.c_str(), target_.c_str()) != 0)
        Fail("Cannot create file", errno);
    temp_.clear();
}

void PdfFileOutStream::Fail(const char* what, int error) {
    throw std::runtime_error(std::string(what) + " \"" + sjisPath_ + "\". " + std::strerror(error));
}

} // namespace pendlar
