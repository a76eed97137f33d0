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
        // The component gets the password trimmed, and its text is UTF-8 while the password
        // is the project's bytes: a server echoing it may show either form, and none may show.
        const std::string& password = mail.m_strPassword;
        const std::string trimmed = corvane::Trim(password);
        const std::string trimmedUtf8 = corvane::Cp1252ToUtf8(trimmed);
        const std::string passwordUtf8 = corvane::Cp1252ToUtf8(password);
        std::cout << corvane::RemoteNameToUtf8(
                         corvane::MaskSecretsIn(e.what(), {trimmed, password, trimmedUtf8, passwordUtf8}))
                  << "\n";
        return 1;
    }
}
