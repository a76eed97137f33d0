#include "SendTestCommand.h"

#include "model/CCorvaneDoc.h"
#include "model/CodePage.h"
#include "model/VisibleText.h"
#include "platform/StandardComponents.h"
#include "platform/TestMessage.h"

#include <iostream>
#include <string>

int RunSendTestCommand(int argc, char** argv) {
    if (argc != 1) {
        std::cerr << "usage: corvane-dix sendtest FILE\n";
        return 2;
    }
    CCorvaneDoc doc;
    std::string error;
    if (doc.OnOpenDocument(argv[0], error) != CCorvaneDoc::OpenResult::ok) {
        std::cerr << corvane::VisibleText(corvane::Cp1252ToUtf8(error)) << "\n";
        return 1;
    }
    corvane::RegisterStandardComponents();
    try {
        const std::string notice = corvane::SendTestMessage(doc.m_mail);
        std::cout << "OK\n";
        if (!notice.empty())
            std::cerr << "Warning: " << notice << "\n";
        return 0;
    } catch (const std::exception& e) {
        // The component masks the password in what the server said; its own words carry none.
        std::cerr << corvane::VisibleText(corvane::RemoteNameToUtf8(e.what())) << "\n";
        return 1;
    }
}
