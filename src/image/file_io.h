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

// Writes a new file in the target's folder and puts it in the target's place
// only when every byte has reached the disk. Until commit() succeeds the
// target is untouched, and an uncommitted file leaves nothing behind.
//
// What a save may replace: symbolic links are followed to the file they name
// (a dangling one creates it); a directory, device, FIFO or socket is refused;
// so is a file the user could not write in place (permission denied; for
// root, a file with no write bit at all). The new file keeps the old one's
// mode and, where the process may set them, its owner and group.
class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    bool open(const std::string& path, std::string* error = nullptr);
    bool write(const uint8_t* data, size_t count, std::string* error = nullptr);
    bool commit(std::string* error = nullptr);
    // Drops the new file; the target stays as it was.
    void abandon();

private:
    bool linkIntoPlace();

    int fd_ = -1;
    std::string path_;        // as given, for messages
    std::string target_;      // after following links
    std::string temporary_;   // a named temporary file, when there is one
};

// Where the file system has no unnamed files, saves use named ones
// (".nelmora-save-*"); this removes those in `folder` older than the given
// age, left by saves that were killed. Returns how many were removed.
int removeStaleSaveFiles(const std::string& folder, int64_t olderThanSeconds);

bool writeFileAtomically(const std::string& path, const uint8_t* data, size_t size,
                         std::string* error = nullptr);
inline bool writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes,
                                std::string* error = nullptr)
{
    return writeFileAtomically(path, bytes.data(), bytes.size(), error);
}

}  // namespace nelmora
