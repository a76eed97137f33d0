#include "model/CArchive.h"

#include "model/CodePage.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;

// The lists of a file may take this many times its size in memory, plus the allowance:
// real projects take about twice their size; a file of empty entries would take 30 times.
constexpr std::uint64_t kMemoryPerFileByte = 8;
constexpr std::uint64_t kMemoryAllowance = 16u << 20;

std::string EofText(std::uint64_t offset) {
    return "unexpected end of file at byte " + std::to_string(offset);
}
} // namespace

CArchive::CArchive(const void* data, std::size_t size)
    : m_mode(Mode::load), m_mem(static_cast<const unsigned char*>(data)), m_size(size),
      m_memoryBudget(kMemoryPerFileByte * size + kMemoryAllowance) {}

CArchive::CArchive(std::FILE* file) : m_mode(Mode::store), m_file(file), m_buffer(kBufferSize) {}

CArchive::CArchive(std::string& sink) : m_mode(Mode::store), m_sink(&sink) {}

CArchive::~CArchive() {
    if (IsStoring() && m_file && m_bufLen) {
        // Best effort only: a caller that cares about errors calls Flush() itself.
        std::fwrite(m_buffer.data(), 1, m_bufLen, m_file);
    }
}

void CArchive::Flush() {
    if (!IsStoring() || !m_file)
        return;
    if (m_bufLen && std::fwrite(m_buffer.data(), 1, m_bufLen, m_file) != m_bufLen) {
        m_bufLen = 0;
        throw CArchiveException(CArchiveException::Cause::writeFailed, m_position,
                                std::string("write failed: ") + std::strerror(errno));
    }
    m_bufLen = 0;
    if (std::fflush(m_file) != 0)
        throw CArchiveException(CArchiveException::Cause::writeFailed, m_position,
                                std::string("write failed: ") + std::strerror(errno));
}

void CArchive::WriteBytes(const void* src, std::size_t n) {
    m_position += n;
    if (m_sink) {
        m_sink->append(static_cast<const char*>(src), n);
        return;
    }
    const auto* p = static_cast<const unsigned char*>(src);
    while (n) {
        if (m_bufLen == m_buffer.size()) {
            const auto pos = m_position;
            if (std::fwrite(m_buffer.data(), 1, m_bufLen, m_file) != m_bufLen)
                throw CArchiveException(CArchiveException::Cause::writeFailed, pos,
                                        std::string("write failed: ") + std::strerror(errno));
            m_bufLen = 0;
        }
        const std::size_t chunk = std::min(n, m_buffer.size() - m_bufLen);
        std::memcpy(m_buffer.data() + m_bufLen, p, chunk);
        m_bufLen += chunk;
        p += chunk;
        n -= chunk;
    }
}

void CArchive::WriteU32(std::uint32_t v) {
    const unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
    WriteBytes(b, 4);
}

void CArchive::WriteFlag(bool v) {
    const unsigned char b = v ? 1 : 0;
    WriteBytes(&b, 1);
}

void CArchive::WriteCount(std::size_t n) {
    WriteU32(static_cast<std::uint32_t>(n));
}

void CArchive::WriteString(const std::string& s) {
    const std::size_t len = s.size();
    unsigned char prefix[7];
    std::size_t plen = 0;
    if (len < 0xFF) {
        prefix[plen++] = static_cast<unsigned char>(len);
    } else if (len < 0xFFFE) {
        prefix[plen++] = 0xFF;
        prefix[plen++] = static_cast<unsigned char>(len);
        prefix[plen++] = static_cast<unsigned char>(len >> 8);
    } else {
        prefix[plen++] = 0xFF;
        prefix[plen++] = 0xFF;
        prefix[plen++] = 0xFF;
        const auto l32 = static_cast<std::uint32_t>(len);
        prefix[plen++] = static_cast<unsigned char>(l32);
        prefix[plen++] = static_cast<unsigned char>(l32 >> 8);
        prefix[plen++] = static_cast<unsigned char>(l32 >> 16);
        prefix[plen++] = static_cast<unsigned char>(l32 >> 24);
    }
    WriteBytes(prefix, plen);
    WriteBytes(s.data(), len);
}

void CArchive::Need(std::uint64_t bytes, std::uint64_t fieldStart) {
    if (bytes > m_size - m_position)
        throw CArchiveException(CArchiveException::Cause::endOfFile, fieldStart, EofText(fieldStart));
}

void CArchive::ReadBytes(void* dest, std::size_t n) {
    Need(n, m_position);
    std::memcpy(dest, m_mem + m_position, n);
    m_position += n;
}

std::uint32_t CArchive::ReadU32Slow() {
    unsigned char b[4];
    ReadBytes(b, 4);
    return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
           (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

bool CArchive::ReadFlagSlow() {
    unsigned char b;
    ReadBytes(&b, 1);
    return b != 0;
}

std::int32_t CArchive::ReadCount(std::size_t minEntrySize, std::size_t entryMemory) {
    const auto start = m_position;
    const std::int32_t n = ReadI32();
    if (n <= 0)
        return 0;
    if (minEntrySize && static_cast<std::uint64_t>(n) * minEntrySize > GetRemaining())
        throw CArchiveException(CArchiveException::Cause::endOfFile, start,
                                "count of " + std::to_string(n) + " entries at byte " +
                                    std::to_string(start) + " exceeds the end of file");
    const std::uint64_t memory = static_cast<std::uint64_t>(n) * entryMemory;
    if (memory > m_memoryBudget)
        throw CArchiveException(CArchiveException::Cause::tooManyEntries, start,
                                "count of " + std::to_string(n) + " entries at byte " +
                                    std::to_string(start) + " is more than a file of this size can hold");
    m_memoryBudget -= memory;
    return n;
}

std::uint32_t CArchive::ReadLengthPrefix(bool& wide) {
    for (;;) {
        unsigned char b;
        if (m_position < m_size)
            b = m_mem[m_position++];
        else
            ReadBytes(&b, 1);
        if (b < 0xFF)
            return b;
        unsigned char w[2];
        ReadBytes(w, 2);
        const std::uint16_t u16 = static_cast<std::uint16_t>(w[0] | (w[1] << 8));
        if (u16 == 0xFFFE) {
            // Marks a wide string; a fresh length prefix follows.
            wide = true;
            continue;
        }
        if (u16 < 0xFFFF)
            return u16;
        return ReadU32();
    }
}

std::string CArchive::ReadString() {
    const auto start = m_position;
    bool wide = false;
    const std::uint32_t len = ReadLengthPrefix(wide);
    const std::uint64_t bytes = wide ? std::uint64_t{len} * 2 : len;
    if (bytes > GetRemaining())
        throw CArchiveException(CArchiveException::Cause::endOfFile, start,
                                "string of " + std::to_string(len) + " characters at byte " +
                                    std::to_string(start) + " exceeds the end of file");
    if (!wide) {
        std::string s(reinterpret_cast<const char*>(m_mem + m_position), len);
        m_position += len;
        return s;
    }
    std::string raw(bytes, '\0');
    ReadBytes(raw.data(), raw.size());
    std::u16string units(len, u'\0');
    for (std::uint32_t i = 0; i < len; ++i)
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(raw[2 * i]) |
                                         (static_cast<unsigned char>(raw[2 * i + 1]) << 8));
    return corvane::Utf16ToCp1252(units);
}
