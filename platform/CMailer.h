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
    std::string GetServer();
    void SetUser(const std::string& user);
    std::string GetUser();
    void SetPassword(const std::string& password);
    void SetSender(const std::string& address);
    std::string GetSender();
    void SetSubject(const std::string& subject);
    std::string GetSubject();
    void SetRequireTls(bool require);
    bool GetRequireTls();
    void SetPort(std::int32_t port);
    std::int32_t GetPort();
    void AddRecipient(const std::string& address);
    void Send();
    // After Send: the login went over a connection that was not encrypted.
    bool GetPlainLogin();
};
