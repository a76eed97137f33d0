#pragma once
// Stands in for the mail component under its identifier while it lives: records every
// call in order, may fail the send with a text or hold it (onSend runs inside Send, on
// the sending thread), answers property reads from `answers` (others are unknown members).
#include "ScopedRegistration.h"
#include "platform/CMailComponent.h"
#include "platform/COleException.h"
#include "platform/MailerDispIds.h"

#include <functional>
#include <map>
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
    std::vector<CCall> calls;
    int created = 0;
    std::string failure;
    std::function<void()> onSend;
    std::map<DISPID, CVariant> answers;

private:
    class CInstance : public IDispatch {
    public:
        explicit CInstance(CRecordingMailer* owner) : m_owner(owner) {}
        CVariant Invoke(DISPID id, InvokeKind kind, const std::vector<CVariant>& args) override {
            m_owner->calls.push_back({id, kind, args});
            if (kind == InvokeKind::propertyGet) {
                const auto answer = m_owner->answers.find(id);
                if (answer == m_owner->answers.end())
                    throw COleException("Unknown name.");
                return answer->second;
            }
            if (id == comailer::dispidSend && m_owner->onSend)
                m_owner->onSend();
            if (id == comailer::dispidSend && !m_owner->failure.empty())
                throw COleDispatchException(m_owner->failure);
            return {};
        }

    private:
        CRecordingMailer* m_owner;
    };

    CScopedRegistration m_registration{CMailComponent::kProgId, [this] {
                                           ++created;
                                           return std::make_shared<CInstance>(this);
                                       }};
};

} // namespace mailtest
