#pragma once
// Stands in for the mail component under its identifier while it lives: records every
// call in order, may fail the send with a text or hold it (onSend runs inside Send, on
// the sending thread).
#include "platform/CAutomationRegistry.h"
#include "platform/CMailComponent.h"
#include "platform/COleException.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace mailtest {

struct CCall {
    DISPID id;
    InvokeKind kind;
    std::vector<CVariant> args;
    bool operator==(const CCall&) const = default;
};

class CRecordingMailer {
public:
    CRecordingMailer() {
        m_previous = CAutomationRegistry::Register(CMailComponent::kProgId, [this] {
            ++created;
            return std::make_shared<CInstance>(this);
        });
    }
    ~CRecordingMailer() {
        if (m_previous)
            CAutomationRegistry::Register(CMailComponent::kProgId, m_previous);
        else
            CAutomationRegistry::Unregister(CMailComponent::kProgId);
    }
    CRecordingMailer(const CRecordingMailer&) = delete;
    CRecordingMailer& operator=(const CRecordingMailer&) = delete;

    std::vector<CCall> calls;
    int created = 0;
    std::string failure;
    std::function<void()> onSend;

private:
    class CInstance : public IDispatch {
    public:
        explicit CInstance(CRecordingMailer* owner) : m_owner(owner) {}
        CVariant Invoke(DISPID id, InvokeKind kind, const std::vector<CVariant>& args) override {
            m_owner->calls.push_back({id, kind, args});
            if (id == CMailComponent::dispidSend && m_owner->onSend)
                m_owner->onSend();
            if (id == CMailComponent::dispidSend && !m_owner->failure.empty())
                throw COleDispatchException(m_owner->failure);
            return {};
        }

    private:
        CRecordingMailer* m_owner;
    };

    CAutomationRegistry::Factory m_previous;
};

} // namespace mailtest
