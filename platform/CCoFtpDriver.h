#pragma once
// The FTP component "Kestrel.CoFTP" called through its members by name and type, over the
// dispatch identifiers of CoFtpDispIds.h: a wrong type is a compile error here, not a
// "Type mismatch." at run time. Failures come as the component raises them
// (COleDispatchException with its description, COleException for the call itself).
#include "platform/COleDispatchDriver.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CCoFtpDriver {
public:
    struct Entry {
        std::string strName; // the server's bytes
        std::int32_t nKind;  // coftp::Kind
    };

    // False when the component cannot be created.
    bool CreateDispatch();
    void ReleaseDispatch() { m_driver.ReleaseDispatch(); }
    bool IsEmpty() const { return m_driver.IsEmpty(); }
    const std::shared_ptr<IDispatch>& GetDispatch() const { return m_driver.GetDispatch(); }

    void SetHost(const std::string& host);
    // The port's 16 bits, read as signed, as the member takes it.
    void SetPort(std::int32_t port);
    void SetUser(const std::string& user);
    void SetPassword(const std::string& password);
    void SetPassive(bool passive);
    // The component's own code (corvane::ProxyTypeRow::componentCode).
    void SetProxyType(std::int32_t componentCode);
    void SetProxyHost(const std::string& host);
    void SetProxyPort(std::int32_t port);
    void SetProxyUser(const std::string& user);
    void SetProxyPassword(const std::string& password);
    void SetTimeout(std::int16_t seconds);
    void SetFlags(std::int32_t flags);

    void Connect();
    void Login();
    void Disconnect();
    void ChangeDirectory(const std::string& path);
    void List(const std::string& mask);
    // The entries of the last List, at most `maxEntries` of them (the index is 16-bit).
    // The first `maxEntries` entries; `total` receives how many the listing holds.
    std::vector<Entry> GetListing(std::size_t maxEntries, std::size_t& total);

    // The session transcript and the connection test's warnings (one a line), as safe
    // UTF-8 text; empty from a component that keeps none.
    std::string GetTranscript();
    std::string GetWarnings();

private:
    COleDispatchDriver m_driver;
};
