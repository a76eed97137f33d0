#pragma once
// A stand-in for the FTP component, registered under "Kestrel.CoFTP" for a test's
// lifetime. It records every call with its argument types ("put 3 i2 -25536",
// "call 8", "get 1"), serves folder listings from a table, and fails chosen members
// with a chosen description. Unit and GUI tests and the screenshot program share it.
#include "platform/COleException.h"
#include "platform/IDispatch.h"
#include "standins/ScopedRegistration.h"

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace testftp {

struct FakeEntry {
    std::string name;
    std::int32_t kind; // 1 file, 2 folder, 3 link
};

// Shared by every instance the factory makes, so a test sees them all.
struct FakeFtpState {
    std::mutex lock;
    std::vector<std::string> calls;
    int instances = 0;
    // Folder path without trailing "/" ("/" for the root) -> its entries.
    std::map<std::string, std::vector<FakeEntry>> folders;
    // Member -> description of the automation error it raises.
    std::map<DISPID, std::string> failures;
    // Folders whose ChangeDirectory fails.
    std::set<std::string> failingFolders;
    // Runs (on the calling thread) inside Connect, before it returns.
    std::function<void()> onConnect;
    // Members that take this long before they answer.
    std::map<DISPID, std::chrono::milliseconds> delays;

    std::vector<std::string> Calls() {
        std::lock_guard guard(lock);
        return calls;
    }
    void ClearCalls() {
        std::lock_guard guard(lock);
        calls.clear();
    }
};

inline std::string Describe(const CVariant& v) {
    switch (TypeOf(v)) {
    case VarType::empty:
        return "empty";
    case VarType::bstr:
        return "bstr '" + std::get<std::string>(v) + "'";
    case VarType::i2:
        return "i2 " + std::to_string(std::get<std::int16_t>(v));
    case VarType::i4:
        return "i4 " + std::to_string(std::get<std::int32_t>(v));
    case VarType::boolean:
        return std::get<bool>(v) ? "bool true" : "bool false";
    case VarType::dispatch:
        return "dispatch";
    }
    return "?";
}

class CFakeListingEntry : public IDispatch {
public:
    explicit CFakeListingEntry(FakeEntry e) : m_entry(std::move(e)) {}
    CVariant Invoke(DISPID id, InvokeKind kind, const std::vector<CVariant>&) override {
        if (kind == InvokeKind::propertyGet && id == 1)
            return m_entry.name;
        if (kind == InvokeKind::propertyGet && id == 3)
            return m_entry.kind;
        throw COleException("Unknown name.");
    }

private:
    FakeEntry m_entry;
};

class CFakeListing : public IDispatch {
public:
    explicit CFakeListing(std::vector<FakeEntry> entries) : m_entries(std::move(entries)) {}
    CVariant Invoke(DISPID id, InvokeKind kind, const std::vector<CVariant>& args) override {
        if (kind == InvokeKind::propertyGet && id == 1)
            return static_cast<std::int32_t>(m_entries.size());
        if (kind == InvokeKind::method && id == 4 && args.size() == 1 && TypeOf(args[0]) == VarType::i2) {
            const int index = std::get<std::int16_t>(args[0]);
            if (index < 0 || index >= static_cast<int>(m_entries.size()))
                throw COleDispatchException("Index out of range.");
            return std::shared_ptr<IDispatch>(std::make_shared<CFakeListingEntry>(m_entries[index]));
        }
        throw COleException("Type mismatch.");
    }

private:
    std::vector<FakeEntry> m_entries;
};

class CRecordingFtp : public IDispatch {
public:
    explicit CRecordingFtp(std::shared_ptr<FakeFtpState> state) : m_state(std::move(state)) {}

    CVariant Invoke(DISPID id, InvokeKind kind, const std::vector<CVariant>& args) override {
        std::string line = kind == InvokeKind::method        ? "call "
                           : kind == InvokeKind::propertyPut ? "put "
                                                             : "get ";
        line += std::to_string(id);
        for (const CVariant& a : args)
            line += " " + Describe(a);
        std::function<void()> onConnect;
        std::chrono::milliseconds delay{0};
        {
            std::lock_guard guard(m_state->lock);
            m_state->calls.push_back(line);
            if (const auto it = m_state->failures.find(id); it != m_state->failures.end())
                throw COleDispatchException(it->second);
            onConnect = m_state->onConnect;
            if (const auto it = m_state->delays.find(id); it != m_state->delays.end())
                delay = it->second;
        }
        std::this_thread::sleep_for(delay);
        if (id == 8 && kind == InvokeKind::method && onConnect)
            onConnect();
        if (id == 16 && kind == InvokeKind::method) {
            std::string path = std::get<std::string>(args.at(0));
            while (path.size() > 1 && path.back() == '/')
                path.pop_back();
            std::lock_guard guard(m_state->lock);
            if (m_state->failingFolders.count(path) || !m_state->folders.count(path))
                throw COleDispatchException("550 " + path + ": No such file or directory.");
            m_current = path;
        }
        if (id == 44 && kind == InvokeKind::method) {
            std::lock_guard guard(m_state->lock);
            m_listing = std::make_shared<CFakeListing>(m_state->folders[m_current]);
        }
        if (id == 1 && kind == InvokeKind::propertyGet)
            return std::shared_ptr<IDispatch>(m_listing);
        static const std::set<DISPID> known{2, 3, 4, 5, 6, 7, 8, 11, 16, 29, 30, 31, 32, 33, 34, 35, 44};
        if (!known.count(id))
            throw COleException("Unknown name.");
        return {};
    }

private:
    std::shared_ptr<FakeFtpState> m_state;
    std::string m_current = "/";
    std::shared_ptr<CFakeListing> m_listing = std::make_shared<CFakeListing>(std::vector<FakeEntry>{});
};

// Registers the recording component for the scope; restores what was there before.
class CRecordingFtpRegistration : public CScopedRegistration {
public:
    explicit CRecordingFtpRegistration(std::shared_ptr<FakeFtpState> state, bool creatable = true)
        : CScopedRegistration("Kestrel.CoFTP", [state, creatable]() -> std::shared_ptr<IDispatch> {
              if (!creatable)
                  return nullptr;
              std::lock_guard guard(state->lock);
              ++state->instances;
              return std::make_shared<CRecordingFtp>(state);
          }) {}
};

} // namespace testftp
