// What typed text may reach a record: code page characters only, and no control
// character (every such field ends up in a command to a server). The refusal names the
// field and the first refused character.
#include "controls/CDialogBase.h"

#include <gtest/gtest.h>

namespace {

struct TypedCase {
    const char* name;
    wxString text;
    wxString refusal; // empty: stored as the code page bytes `stored`
    std::string stored;
};
void PrintTo(const TypedCase& c, std::ostream* os) {
    *os << c.name;
}

const wxString kField = "Username";

class TypedText : public ::testing::TestWithParam<TypedCase> {};

INSTANTIATE_TEST_SUITE_P(
    , TypedText,
    ::testing::Values(TypedCase{"Plain", "bob smith", "", "bob smith"},
                      TypedCase{"EuroHasAByte", wxString(L"5 \u20ac"), "", "5 \x80"},
                      TypedCase{"LineFeed", "bob\nSITE CHMOD 777 /etc",
                                CDialogBase::ControlCharacterText(kField, '\n'), ""},
                      TypedCase{"Nul", wxString("pw\0x", 4), CDialogBase::ControlCharacterText(kField, 0),
                                ""},
                      TypedCase{"Tab", "a\tb", CDialogBase::ControlCharacterText(kField, '\t'), ""},
                      TypedCase{"Delete", "a\x7f", CDialogBase::ControlCharacterText(kField, 0x7f), ""},
                      // The first refused character is the one named.
                      TypedCase{"CodePageFirst", wxString(L"\u0418\n"),
                                CDialogBase::CannotHoldText(kField, L'\u0418'), ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(TypedText, IsStoredOrRefusedNamingTheField) {
    const TypedCase& c = GetParam();
    std::string out;
    const wxString refusal = CDialogBase::RefusalOf(kField, c.text, out);
    EXPECT_EQ(refusal, c.refusal);
    if (c.refusal.empty()) {
        EXPECT_EQ(out, c.stored);
    } else {
        EXPECT_TRUE(refusal.StartsWith(kField + ": "));
    }
}

} // namespace
