#include "platform/StandardComponents.h"

#include "platform/CAutomationRegistry.h"
#include "platform/CCoFtp.h"

namespace corvane {

void RegisterStandardComponents() {
    CCoFtp::Register();

    // Mail component: registered below by its own module.
}

} // namespace corvane
