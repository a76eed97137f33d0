#include "platform/StandardComponents.h"

#include "platform/CAutomationRegistry.h"
#include "platform/CCoFtp.h"
#include "platform/CMailComponent.h"

namespace corvane {

void RegisterStandardComponents() {
    CCoFtp::Register();
    CMailComponent::Register();
}

} // namespace corvane
