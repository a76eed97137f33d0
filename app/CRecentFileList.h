#pragma once
// The most-recently-used project files, newest first, kept in the settings store
// under the section the framework has always used for them.
#include <string>
#include <vector>

class IProfileStore;

class CRecentFileList {
public:
    static constexpr const char* kSection = "Recent File List";

    explicit CRecentFileList(int nMaxFiles) : m_nMaxFiles(nMaxFiles) {}

    int GetSize() const { return m_nMaxFiles; }
    int GetCount() const { return static_cast<int>(m_arrNames.size()); }
    const std::string& operator[](int index) const { return m_arrNames.at(static_cast<std::size_t>(index)); }

    // Moves an already listed path to the front instead of listing it twice.
    void Add(const std::string& path);
    void Remove(const std::string& path);

    // Entries "File1" ... "FileN"; empty ones are skipped.
    void ReadList(const IProfileStore& store);
    // Writes every slot, blank past the last entry, so a shorter list leaves no
    // stale names behind.
    void WriteList(IProfileStore& store) const;

private:
    int m_nMaxFiles;
    std::vector<std::string> m_arrNames;
};
