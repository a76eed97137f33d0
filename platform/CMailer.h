#pragma once
// Typed calls on the mail component ("Pelican.CoMailer"), one member per dispatch member
// with its argument and result types, as a framework-generated wrapper class over a
// dispatch interface has them. Callers never spell a dispatch identifier.
#include "platform/COleDispatchDriver.h"

#include <cstdint>
#include <string>

class CMailer : public COleDispatchDriver {
public:
    using COleDispatchDriver::COleDispatchDriver;

    // A fresh component instance; throws COleException when it cannot be created.
    void Create();

    void SetServer(const std::string& hostOrHostPort);
    void SetUser(const std::string& user);
    void SetPassword(const std::string& password);
    void SetSender(const std::string& address);
    void SetSubject(const std::string& subject);
    void SetRequireTls(bool require);
    void SetPort(std::int32_t port);
    void AddRecipient(const std::string& address);
    void Send();
    // After Send: the login went over a connection that was not encrypted.
    bool GetPlainLogin();
};
