// The window in the environment's language, set up as the program does at its start:
// under de_DE.UTF-8 the menu bar, a dialog and GTK's own texts are German, and the
// same edits give the same project file bytes under C and under de_DE.UTF-8.
#include "../common/ShellTestSupport.h"
#include "app/Translation.h"
#include "dialogs/CDlgMail.h"

#include <clocale>
#include <libintl.h>
#include <wx/translation.h>

using namespace shelltest;
using namespace dlgtest;

namespace {

constexpr const char* kGerman = "de_DE.UTF-8";

// The environment asks for `locale` while the object lives; the window's language is
// taken from it as at the program's start, and afterwards the untranslated C locale
// comes back.
class CLanguage {
public:
    explicit CLanguage(const char* locale)
        : m_all("LC_ALL", locale), m_lang("LANG", locale), m_language("LANGUAGE", "") {
        corvane::UseEnvironmentLanguage(CORVANE_PROGRAM);
    }
    ~CLanguage() {
        wxTranslations::Set(nullptr);
        std::setlocale(LC_ALL, "C");
    }
    CLanguage(const CLanguage&) = delete;
    CLanguage& operator=(const CLanguage&) = delete;

private:
    CEnvOverride m_all, m_lang, m_language;
};

bool HaveGerman() {
    const bool have = std::setlocale(LC_ALL, kGerman) != nullptr;
    std::setlocale(LC_ALL, "C");
    return have;
}

class ShellLanguage : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        if (!HaveGerman())
            GTEST_SKIP() << kGerman << " is not generated (scripts/install-deps.sh does it)";
    }
};

} // namespace

TEST_F(ShellLanguage, MenuBarDialogAndToolkitSpeakGerman) {
    CLanguage german(kGerman);
    // GTK's own texts (the file chooser's buttons) follow the locale too.
    EXPECT_STREQ(dgettext("gtk30", "_Cancel"), "_Abbrechen");

    CMemoryStore store;
    CCorvaneDoc doc{&store};
    doc.OnNewDocument();
    auto* frame = new CMainFrame(nullptr, &doc, &store);
    wxMenuBar* bar = frame->GetMenuBar();
    std::vector<wxString> menus;
    for (std::size_t i = 0; i < bar->GetMenuCount(); ++i)
        menus.push_back(bar->GetMenuLabelText(i));
    EXPECT_EQ(menus, (std::vector<wxString>{"Datei", "Ansicht", "Ordner", "Einstellungen", "Hilfe"}));
    delete frame;

    CDlgMail dlg(nullptr, &doc);
    EXPECT_EQ(dlg.GetTitle(), "Mailkonto");
    EXPECT_EQ(dlg.FindWindow(CDlgMail::kIdSend)->GetLabel(), "Senden");
    EXPECT_EQ(dlg.FindWindow(wxID_CANCEL)->GetLabel(), "Abbrechen");
}

TEST_F(ShellLanguage, TheSameEditsGiveTheSameFileInAnyLanguage) {
    std::vector<std::string> files;
    for (const char* locale : {"C", kGerman}) {
        CLanguage language(locale);
        CCorvaneDoc doc;
        doc.OnNewDocument();
        CDlgMail dlg(nullptr, &doc);
        RunModal(dlg, [&] {
            Type(&dlg, CDlgMail::kIdServer, "smtp.example.com");
            Type(&dlg, CDlgMail::kIdFrom, wxString::FromUTF8("J\u00fcrgen M\u00fcller <jm@example.com>"));
            Type(&dlg, CDlgMail::kIdSubject, wxString::FromUTF8("Gr\u00f6\u00dfe 1.5 \u20ac, TITLE title"));
            Type(&dlg, CDlgMail::kIdRecipient, wxString::FromUTF8("\u00e4rger@example.com"));
            Click(&dlg, CDlgMail::kIdAdd);
            Click(&dlg, wxID_OK);
        });
        files.push_back(doc.SaveToMemory());
    }
    EXPECT_EQ(files[0], files[1]);
    EXPECT_NE(files[0].find("J\xfcrgen M\xfcller"), std::string::npos);
}
