#pragma once
// Dispatch identifiers of the FTP component "Kestrel.CoFTP" and of its listing objects,
// as callers bind them (late binding: these numbers are the whole contract).
#include "platform/IDispatch.h"

namespace coftp {

inline constexpr const char* kProgId = "Kestrel.CoFTP";

// The component.
inline constexpr DISPID dispidListing = 1;          // get: listing object of the last List
inline constexpr DISPID dispidHost = 2;             // put: string
inline constexpr DISPID dispidPort = 3;             // put: 16-bit (the port's 16 bits, read as signed)
inline constexpr DISPID dispidUser = 4;             // put: string
inline constexpr DISPID dispidPassword = 5;         // put: string
inline constexpr DISPID dispidLogin = 6;            // method
inline constexpr DISPID dispidDisconnect = 7;       // method
inline constexpr DISPID dispidConnect = 8;          // method
inline constexpr DISPID dispidPassive = 11;         // put: 32-bit, 1 passive, 0 active
inline constexpr DISPID dispidChangeDirectory = 16; // method: string
inline constexpr DISPID dispidProxyType = 29;       // put: 32-bit, see ProxyType below
inline constexpr DISPID dispidProxyUser = 30;       // put: string
inline constexpr DISPID dispidProxyPassword = 31;   // put: string
inline constexpr DISPID dispidProxyHost = 32;       // put: string
inline constexpr DISPID dispidProxyPort = 33;       // put: 16-bit
inline constexpr DISPID dispidTimeout = 34;         // put/get: 16-bit seconds, kept only
inline constexpr DISPID dispidFlags = 35;           // put/get: 32-bit, kept only
inline constexpr DISPID dispidList = 44;            // method: string file mask
// Our own additions, which callers of the original members never ask for.
inline constexpr DISPID dispidTranscript = 100; // get: string, the session's transcript (safe UTF-8)
inline constexpr DISPID dispidWarnings = 101;   // get: string, the connection test's warnings, one a line

// What callers send for the two members that are kept only: the component takes its limits
// from NetTimeouts.h, so the seconds sent change nothing.
inline constexpr std::int16_t kCallerTimeoutSeconds = 20;
inline constexpr std::int32_t kCallerFlags = 0;

// The listing object.
inline constexpr DISPID dispidCount = 1; // get: 32-bit
inline constexpr DISPID dispidItem = 4;  // method: 16-bit zero-based index, returns an entry

// A listing entry.
inline constexpr DISPID dispidName = 1; // get: string
inline constexpr DISPID dispidKind = 3; // get: 32-bit, see Kind below

// ProxyType values: corvane::ProxyTypeTable() (ProxyTypes.h).

// Kind values.
enum Kind : std::int32_t { kindFile = 1, kindFolder = 2, kindLink = 3, kindOther = 4 };

} // namespace coftp
