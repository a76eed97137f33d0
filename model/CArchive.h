#pragma once
// Plain-mode archive of the project file: little-endian numbers, one-byte flags and
// counted strings, no header. Reading never trusts the file: every length and count
// is checked against the bytes that remain before anything is allocated for it, and the
// lists of one file together may take only a small multiple of its size in memory.
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

class CArchiveException : public std::runtime_error {
public:
    enum class Cause { endOfFile, tooManyEntries, writeFailed };
    CArchiveException(Cause cause, std::uint64_t offset, const std::string& what)
        : std::runtime_error(what), m_cause(cause), m_offset(offset) {}
    Cause GetCause() const { return m_cause; }
    // Byte offset in the file where the failing field began.
    std::uint64_t GetOffset() const { return m_offset; }

private:
    Cause m_cause;
    std::uint64_t m_offset;
};

class CArchive {
public:
    enum class Mode { load, store };

    // Loading from memory; the bytes must outlive the archive.
    CArchive(const void* data, std::size_t size);
    // Storing to an open file, which the archive never closes.
    explicit CArchive(std::FILE* file);
    // Storing into memory.
    explicit CArchive(std::string& sink);
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsStoring() const { return m_mode == Mode::store; }

    // Bytes consumed (loading) or produced (storing) so far.
    std::uint64_t GetPosition() const { return m_position; }
    std::uint64_t GetRemaining() const { return m_size - m_position; }

    void Flush();

    // Storing.
    void WriteU32(std::uint32_t v);
    void WriteI32(std::int32_t v) { WriteU32(static_cast<std::uint32_t>(v)); }
    void WriteFlag(bool v);
    void WriteCount(std::size_t n);
    void WriteString(const std::string& s);

    // Loading.
    // Fast paths; the end of the bytes goes out of line.
    std::uint32_t ReadU32() {
        if (m_size - m_position >= 4) {
            const unsigned char* p = m_mem + m_position;
            m_position += 4;
            return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                   (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
        }
        return ReadU32Slow();
    }
    std::int32_t ReadI32() { return static_cast<std::int32_t>(ReadU32()); }
    bool ReadFlag() {
        if (m_position < m_size)
            return m_mem[m_position++] != 0;
        return ReadFlagSlow();
    }
    // A count is read as signed: zero or below means no entries. The result is
    // capped by the bytes remaining, at minEntrySize each, so a caller can
    // reserve for it safely; an impossible count fails as end of file. Each entry
    // takes entryMemory bytes of the file's memory budget (a few times its size):
    // a file of a million empty entries fails as too many entries, before any is made.
    std::int32_t ReadCount(std::size_t minEntrySize, std::size_t entryMemory = 0);
    std::string ReadString();

    // Serialise-style helpers so records can share one function for both directions.
    void Exchange(std::uint32_t& v) { IsStoring() ? WriteU32(v) : void(v = ReadU32()); }
    void Exchange(std::int32_t& v) { IsStoring() ? WriteI32(v) : void(v = ReadI32()); }
    void Exchange(bool& v) { IsStoring() ? WriteFlag(v) : void(v = ReadFlag()); }
    void Exchange(std::string& v) { IsStoring() ? WriteString(v) : void(v = ReadString()); }

private:
    std::uint32_t ReadU32Slow();
    bool ReadFlagSlow();
    void Need(std::uint64_t bytes, std::uint64_t fieldStart);
    void ReadBytes(void* dest, std::size_t n);
    void WriteBytes(const void* src, std::size_t n);
    std::uint32_t ReadLengthPrefix(bool& wide);

    Mode m_mode;
    std::FILE* m_file = nullptr;
    std::string* m_sink = nullptr;
    const unsigned char* m_mem = nullptr;
    std::vector<unsigned char> m_buffer;
    std::size_t m_bufLen = 0;
    std::uint64_t m_size = 0;
    std::uint64_t m_position = 0;
    // What the lists read so far may still take in memory.
    std::uint64_t m_memoryBudget = 0;
};
