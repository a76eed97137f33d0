#include "SendTestCommand.h"

#include "model/CCorvaneDoc.h"
#include "model/CodePage.h"
#include "platform/StandardComponents.h"
#include "platform/TestMessage.h"

#include <iostream>
#include <string>

namespace {

// A server may echo what it was sent; the password must not reach a terminal or a log
// through it.
std::string Masked(std::string text, const std::string& password) {
    if (password.empty())
        return text;
    for (std::size_t pos; (pos = text.find(password)) != std::string::npos;)
        text.replace(pos, password.size(), "********");
    return text;
}

} // namespace

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
            Masked(Masked(e.what(), corvane::Trim(mail.m_strPassword)), mail.m_strPassword);
        std::cout << corvane::Cp1252ToUtf8(text) << "\n";
        return 1;
    }
}
