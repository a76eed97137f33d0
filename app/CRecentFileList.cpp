#include "app/CRecentFileList.h"

#include "model/IProfileStore.h"

#include <algorithm>

namespace {

std::string EntryName(int index) {
    return "File" + std::to_string(index + 1);
}

} // namespace

void CRecentFileList::Add(const std::string& path) {
    if (path.empty() || m_nMaxFiles <= 0)
        return;
    std::erase(m_arrNames, path);
    m_arrNames.insert(m_arrNames.begin(), path);
    if (GetCount() > m_nMaxFiles)
        m_arrNames.resize(static_cast<std::size_t>(m_nMaxFiles));
}

void CRecentFileList::Remove(const std::string& path) {
    std::erase(m_arrNames, path);
}

void CRecentFileList::ReadList(const IProfileStore& store) {
    m_arrNames.clear();
    for (int i = 0; i < m_nMaxFiles; ++i) {
        std::string name = store.GetProfileString(kSection, EntryName(i));
        if (!name.empty() && std::find(m_arrNames.begin(), m_arrNames.end(), name) == m_arrNames.end())
            m_arrNames.push_back(std::move(name));
    }
}

void CRecentFileList::WriteList(IProfileStore& store) const {
    for (int i = 0; i < m_nMaxFiles; ++i)
        store.WriteProfileString(kSection, EntryName(i),
                                 i < GetCount() ? m_arrNames[static_cast<std::size_t>(i)] : "");
}
