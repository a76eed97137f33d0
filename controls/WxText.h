#pragma once
// The model keeps text as Windows-1252 bytes; controls show Unicode. These two
// functions are the only crossing, lossless for every byte value.
#include <string>
#include <wx/string.h>

wxString ToWx(const std::string& cp1252);
std::string FromWx(const wxString& text);
// The code page bytes of typed text; false when a character has no byte in the code
// page, `unheld` then receives the first such character and `out` is unspecified.
bool FromWxExact(const wxString& text, std::string& out, wxUniChar& unheld);

// Text in an FTP server's bytes (a name, a path, an error quoting the server), as the
// operator reads it (RemoteNameToUtf8).
wxString RemoteNameToWx(const std::string& serverBytes);

// A file name's bytes as the system names files (wxConvFileName, UTF-8 unless the
// environment says otherwise) and back; a name that does not convert comes back empty.
wxString PathToWx(const std::string& path);
std::string PathFromWx(const wxString& path);
