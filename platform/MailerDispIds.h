#pragma once
// Dispatch identifiers of the mail component "Pelican.CoMailer", as callers bind them
// (late binding: these numbers are the whole contract). Texts are Windows-1252 bytes.
#include "platform/IDispatch.h"

namespace comailer {

inline constexpr const char* kProgId = "Pelican.CoMailer";

inline constexpr DISPID dispidServer = 1;   // put/get: string, "host" or "host:port" (wins over dispidPort)
inline constexpr DISPID dispidPassword = 2; // put: string (write-only)
inline constexpr DISPID dispidUser = 3;     // put/get: string; empty means no login
inline constexpr DISPID dispidSender = 5;   // put/get: string, "addr" or "Name <addr>"
inline constexpr DISPID dispidSend = 8;     // method: sends to the recipients added
inline constexpr DISPID dispidRequireTls = 10;   // put/get: boolean, fail unless the session is encrypted
inline constexpr DISPID dispidAddRecipient = 13; // method: string, "addr" or "Name <addr>"
inline constexpr DISPID dispidSubject = 15;      // put/get: string
inline constexpr DISPID dispidPort = 20; // put/get: 32-bit (or 16-bit: the port's 16 bits), default 25
// This program's own addition: after Send, whether the login went over a connection that
// was not encrypted (the server offered no STARTTLS). get: boolean.
inline constexpr DISPID dispidPlainLogin = 40;

} // namespace comailer
