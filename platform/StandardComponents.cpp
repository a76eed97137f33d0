#include "platform/StandardComponents.h"

#include "platform/CAutomationRegistry.h"

namespace corvane {

void RegisterStandardComponents() {
    // FTP component: registered below by its own module.

    // Mail component: registered below by its own module.
}

} // namespace corvane
