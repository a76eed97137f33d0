#include "SendTestCommand.h"

#include "model/CCorvaneDoc.h"
#include "model/CodePage.h"
#include "platform/CMailComponent.h"
#include "platform/COleDispatchDriver.h"
#include "platform/COleException.h"
#include "platform/SecretText.h"
#include "platform/StandardComponents.h"

#include <iostream>
#include <string>

namespace {

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
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
    const std::string password = Trim(mail.m_strPassword);

    corvane::RegisterStandardComponents();
    COleDispatchDriver mailer;
    try {
        if (!mailer.CreateDispatch(CMailComponent::kProgId, &error))
            throw COleException(error);
        mailer.SetProperty(CMailComponent::dispidServer, Trim(mail.m_strServer));
        mailer.SetProperty(CMailComponent::dispidUser, Trim(mail.m_strUser));
        mailer.SetProperty(CMailComponent::dispidPassword, password);
        mailer.SetProperty(CMailComponent::dispidSender, Trim(mail.m_strFrom));
        mailer.SetProperty(CMailComponent::dispidSubject, Trim(mail.m_strSubject));
        mailer.SetProperty(CMailComponent::dispidRequireTls, false);
        mailer.SetProperty(CMailComponent::dispidPort, mail.m_nPort);
        for (const auto& r : mail.m_arrRecipients)
            mailer.InvokeHelper(CMailComponent::dispidAddRecipient, InvokeKind::method, {Trim(r)});
        mailer.InvokeHelper(CMailComponent::dispidSend, InvokeKind::method);
    } catch (const COleDispatchException& e) {
        error = e.m_strDescription;
    } catch (const COleException& e) {
        error = e.what();
    }
    mailer.ReleaseDispatch();
    if (!error.empty()) {
        std::cout << corvane::Cp1252ToUtf8(corvane::MaskSecretsIn(error, {password, mail.m_strPassword}))
                  << "\n";
        return 1;
    }
    std::cout << "OK\n";
    return 0;
}
