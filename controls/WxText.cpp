#include "controls/WxText.h"

#include "model/CodePage.h"

wxString ToWx(const std::string& cp1252) {
    wxString out;
    out.reserve(cp1252.size());
    for (const char c : cp1252)
        out += static_cast<wxUniChar>(corvane::Cp1252ToCodePoint(static_cast<unsigned char>(c)));
    return out;
}

std::string FromWx(const wxString& text) {
    std::string out;
    out.reserve(text.length());
    for (const wxUniChar ch : text) {
        const int b = corvane::CodePointToCp1252(ch.GetValue());
        out += b < 0 ? '?' : static_cast<char>(b);
    }
    return out;
}

bool FromWxExact(const wxString& text, std::string& out, wxUniChar& unheld) {
    out.clear();
    out.reserve(text.length());
    for (const wxUniChar ch : text) {
        const int b = corvane::CodePointToCp1252(ch.GetValue());
        if (b < 0) {
            unheld = ch;
            return false;
        }
        out += static_cast<char>(b);
    }
    return true;
}

wxString RemoteNameToWx(const std::string& serverBytes) {
    return wxString::FromUTF8(corvane::RemoteNameToUtf8(serverBytes));
}

wxString PathToWx(const std::string& path) {
    return wxString(path.c_str(), *wxConvFileName);
}

std::string PathFromWx(const wxString& path) {
    const wxCharBuffer bytes = path.fn_str();
    return bytes.data() ? std::string(bytes.data()) : std::string();
}
