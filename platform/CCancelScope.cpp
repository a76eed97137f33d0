#include "platform/CCancelScope.h"

namespace corvane {

namespace {
thread_local const std::atomic<bool>* t_pFlag = nullptr;
} // namespace

CCancelScope::CCancelScope(const std::atomic<bool>* flag) : m_pPrevious(t_pFlag) {
    t_pFlag = flag;
}

CCancelScope::~CCancelScope() {
    t_pFlag = m_pPrevious;
}

bool CCancelScope::IsCancelled() {
    return t_pFlag && t_pFlag->load();
}

} // namespace corvane
