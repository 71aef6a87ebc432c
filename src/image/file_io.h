#pragma once
// Whole-file reads with a size cap and atomic replacement of files, so that
// a failed save never leaves the user's old file damaged or half written.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace nelmora {

// An open file read from its start. Every failure carries an error text that
// names the file and the reason.
class InputFile {
public:
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool open(const std::string& path, std::string* error = nullptr);
    // The file's size in bytes, or -1 when it cannot be determined.
    int64_t size() const;
    // Reads up to `count` bytes; returns how many arrived (fewer only at the
    // end of the file), or -1 on a read error.
    int64_t read(uint8_t* data, size_t count, std::string* error = nullptr);

private:
    int fd_ = -1;
    std::string path_;
};

// Reads the first `maxBytes` bytes of a file (all of it when shorter).
bool readFileHead(const std::string& path, size_t maxBytes, std::vector<uint8_t>& out,
                  std::string* error = nullptr);

// Writes a new file next to the target and renames it over the target only
// when every byte has reached the disk. Until commit() succeeds the target is
// untouched; an uncommitted temporary file is removed.
class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    bool open(const std::string& path, std::string* error = nullptr);
    bool write(const uint8_t* data, size_t count, std::string* error = nullptr);
    bool commit(std::string* error = nullptr);
    // Drops the temporary file; the target stays as it was.
    void abandon();

private:
    int fd_ = -1;
    std::string target_;
    std::string temporary_;
};

bool writeFileAtomically(const std::string& path, const uint8_t* data, size_t size,
                         std::string* error = nullptr);
inline bool writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                                std::string* error = nullptr)
{
    return writeFileAtomically(path, bytes.data(), bytes.size(), error);
}

}  // namespace nelmora
