#include "SendTestCommand.h"

#include "model/CCorvaneDoc.h"
#include "model/CodePage.h"
#include "model/SecretText.h"
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
        std::cout << corvane::Cp1252ToUtf8(error) << "\n";
        return 1;
    }
    const CMailAccount& mail = doc.m_mail;
    corvane::RegisterStandardComponents();
    try {
        corvane::SendTestMessage(mail);
        std::cout << "OK\n";
        return 0;
    } catch (const std::exception& e) {
        // The component gets the password trimmed; either form must stay hidden.
        const std::string text =
            corvane::MaskSecretsIn(e.what(), {corvane::Trim(mail.m_strPassword), mail.m_strPassword});
        std::cout << corvane::Cp1252ToUtf8(text) << "\n";
        return 1;
    }
}
