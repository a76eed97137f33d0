#include "platform/CCoFtpDriver.h"

#include "platform/COleException.h"
#include "platform/CoFtpDispIds.h"

#include <algorithm>
#include <variant>

namespace {

// What the component returns, of the type its member promises.
template <class T> T As(const CVariant& value) {
    if (const T* v = std::get_if<T>(&value))
        return *v;
    throw COleException("Type mismatch.");
}

std::int16_t Low16(std::int32_t value) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
}

// One of our own members, which another component may not have.
std::string OptionalText(COleDispatchDriver& driver, DISPID id) {
    try {
        return As<std::string>(driver.GetProperty(id));
    } catch (const COleException&) {
        return {};
    } catch (const COleDispatchException&) {
        return {};
    }
}

} // namespace

bool CCoFtpDriver::CreateDispatch() {
    return m_driver.CreateDispatch(coftp::kProgId);
}

void CCoFtpDriver::SetHost(const std::string& host) {
    m_driver.SetProperty(coftp::dispidHost, host);
}
void CCoFtpDriver::SetPort(std::int32_t port) {
    m_driver.SetProperty(coftp::dispidPort, Low16(port));
}
void CCoFtpDriver::SetUser(const std::string& user) {
    m_driver.SetProperty(coftp::dispidUser, user);
}
void CCoFtpDriver::SetPassword(const std::string& password) {
    m_driver.SetProperty(coftp::dispidPassword, password);
}
void CCoFtpDriver::SetPassive(bool passive) {
    m_driver.SetProperty(coftp::dispidPassive, std::int32_t{passive ? 1 : 0});
}
void CCoFtpDriver::SetProxyType(std::int32_t componentCode) {
    m_driver.SetProperty(coftp::dispidProxyType, componentCode);
}
void CCoFtpDriver::SetProxyHost(const std::string& host) {
    m_driver.SetProperty(coftp::dispidProxyHost, host);
}
void CCoFtpDriver::SetProxyPort(std::int32_t port) {
    m_driver.SetProperty(coftp::dispidProxyPort, Low16(port));
}
void CCoFtpDriver::SetProxyUser(const std::string& user) {
    m_driver.SetProperty(coftp::dispidProxyUser, user);
}
void CCoFtpDriver::SetProxyPassword(const std::string& password) {
    m_driver.SetProperty(coftp::dispidProxyPassword, password);
}
void CCoFtpDriver::SetTimeout(std::int16_t seconds) {
    m_driver.SetProperty(coftp::dispidTimeout, seconds);
}
void CCoFtpDriver::SetFlags(std::int32_t flags) {
    m_driver.SetProperty(coftp::dispidFlags, flags);
}

void CCoFtpDriver::Connect() {
    m_driver.InvokeHelper(coftp::dispidConnect, InvokeKind::method);
}
void CCoFtpDriver::Login() {
    m_driver.InvokeHelper(coftp::dispidLogin, InvokeKind::method);
}
void CCoFtpDriver::Disconnect() {
    m_driver.InvokeHelper(coftp::dispidDisconnect, InvokeKind::method);
}
void CCoFtpDriver::ChangeDirectory(const std::string& path) {
    m_driver.InvokeHelper(coftp::dispidChangeDirectory, InvokeKind::method, {path});
}
void CCoFtpDriver::List(const std::string& mask) {
    m_driver.InvokeHelper(coftp::dispidList, InvokeKind::method, {mask});
}

std::vector<CCoFtpDriver::Entry> CCoFtpDriver::GetListing(std::size_t maxEntries, std::size_t& total) {
    COleDispatchDriver listing(As<std::shared_ptr<IDispatch>>(m_driver.GetProperty(coftp::dispidListing)));
    const std::int32_t count = As<std::int32_t>(listing.GetProperty(coftp::dispidCount));
    total = static_cast<std::size_t>(std::max<std::int32_t>(count, 0));
    std::vector<Entry> out;
    for (std::int32_t i = 0; i < count && static_cast<std::size_t>(i) < maxEntries; ++i) {
        COleDispatchDriver entry(As<std::shared_ptr<IDispatch>>(
            listing.InvokeHelper(coftp::dispidItem, InvokeKind::method, {static_cast<std::int16_t>(i)})));
        Entry e;
        e.strName = As<std::string>(entry.GetProperty(coftp::dispidName));
        e.nKind = As<std::int32_t>(entry.GetProperty(coftp::dispidKind));
        out.push_back(std::move(e));
    }
    return out;
}

std::string CCoFtpDriver::GetTranscript() {
    return OptionalText(m_driver, coftp::dispidTranscript);
}

std::string CCoFtpDriver::GetWarnings() {
    return OptionalText(m_driver, coftp::dispidWarnings);
}
