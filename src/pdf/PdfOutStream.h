// Byte sinks the PDF writer saves into: a string in memory, or a file that appears under
// its name only once it has been written completely.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pendlar {

class PdfOutStream {
public:
    PdfOutStream() = default;
    virtual ~PdfOutStream() = default;
    PdfOutStream(const PdfOutStream&) = delete;
    PdfOutStream& operator=(const PdfOutStream&) = delete;

    void Write(std::string_view bytes) {
        WriteBytes(bytes.data(), bytes.size());
        position_ += static_cast<std::int64_t>(bytes.size());
    }
    void Write(char c) { Write(std::string_view(&c, 1)); }

    // Bytes written so far: the offset of the next byte from the start of the file.
    std::int64_t Position() const { return position_; }

protected:
    virtual void WriteBytes(const char* data, std::size_t size) = 0;

private:
    std::int64_t position_ = 0;
};

class PdfStringOutStream : public PdfOutStream {
public:
    const std::string& Data() const { return data_; }
    std::string TakeData() { return std::move(data_); }

protected:
    void WriteBytes(const char* data, std::size_t size) override { data_.append(data, size); }

private:
    std::string data_;
};

// Writes into a temporary file beside the target; Commit() flushes it to disk and renames it
// over the target. A stream destroyed without a successful Commit() removes its temporary
// file, so a failed save never leaves an empty or partial file, and an existing target stays
// as it was. Failures throw std::runtime_error naming the path.
class PdfFileOutStream : public PdfOutStream {
public:
    explicit PdfFileOutStream(std::string_view sjisPath);
    ~PdfFileOutStream() override;

    void Commit();

protected:
    void WriteBytes(const char* data, std::size_t size) override;

private:
    void Flush();
    [[noreturn]] void Fail(const char* what, int error);

    std::string sjisPath_;
    std::string target_;
    std::string temp_;
    int fd_ = -1;
    std::string buffer_;
};

} // namespace pendlar
