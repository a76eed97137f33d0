#pragma once
// The libcurl FTP core shared by the "Kestrel.CoFTP" component and the built-in client.
//
// One easy handle per session, so the logged-in control connection is reused by every
// later directory change and listing (libcurl re-sends CWD only when the folder changes).
// Safe to use from any one thread at a time (no signals, bounded waits: NetTimeouts.h).
//
// Text: names and paths are bytes, never re-encoded.
// - Names received are kept exactly as the server sent them (UTF-8 or a legacy code page).
// - Paths go back to the server in exactly the bytes they are given, so a folder picked
//   from a listing is always reachable, and the synchronisation service, which sends the
//   project's bytes, reaches the same folder as we do.
// - User names and passwords leave as the project's bytes (Windows-1252), as the service
//   sends them.
// - Error messages are UTF-8 and safe to show: what they quote from outside (replies,
//   folders, names) is masked of the passwords first, then read as UTF-8 or the code page
//   and given visible escapes for control characters (corvane::VisibleText).
//
// A failure names its stage (finding the server, connecting, greeting, login, opening the
// folder, data connection, listing), the server, the user and the folder as they apply,
// says what to do next, and never uses the network library's own words. The transcript
// keeps every command and reply (secrets masked, controls escaped) with each stage's time.
//
// Limits (NetTimeouts.h): every reply, every stall of a transfer, a whole listing and its
// size are bounded, and so is the QUIT that ends a session.
#include "platform/CFtpSessionOptions.h"
#include "platform/FtpListParser.h"
#include "platform/NetTimeouts.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct CFtpFileInfo {
    std::string strName; // the server's bytes
    corvane::FtpListEntry::Type type = corvane::FtpListEntry::Type::file;
    std::int64_t nSize = -1;

    bool IsDirectory() const { return type == corvane::FtpListEntry::Type::folder; }
    // A symbolic link: whether it leads to a folder shows only when it is entered.
    bool IsLink() const { return type == corvane::FtpListEntry::Type::link; }
};

class CFtpSession {
public:
    CFtpSession();
    ~CFtpSession();
    CFtpSession(const CFtpSession&) = delete;
    CFtpSession& operator=(const CFtpSession&) = delete;

    // Connects and logs in (USER, PASS, PWD, FEAT, OPTS UTF8, OPTS MLST, and PASV in passive
    // mode for the passive address check). Throws CInternetException; the session is then closed.
    void Open(const CFtpSessionOptions& options);
    bool IsOpen() const { return m_pCurl != nullptr; }
    // Sends QUIT when the connection is still up and waits at most kQuitWait (or the response
    // time when shorter) for the reply: the work is done, so a silent server changes nothing.
    // Never throws.
    void Close();
    static constexpr std::chrono::milliseconds kQuitWait{2000};

    // Makes `path` (absolute, or relative to the current folder; a trailing "/" is allowed)
    // the current folder. Throws CInternetException; the current folder is then unchanged.
    void ChangeDirectory(const std::string& path);
    // The current folder as an absolute path without trailing "/" (except the root);
    // after Open the login folder the server reported.
    const std::string& GetCurrentDirectory() const { return m_strCurrentDir; }

    // Lists the current folder: MLSD when the server offers it, else "LIST -a" (hidden
    // entries, as MLSD shows them) and plain LIST when the server refuses the option.
    // "." and ".." are included when the server sends them. Throws CInternetException,
    // with one of its listing codes when the listing was too slow, too large, or had lines
    // but none that reads as an entry.
    std::vector<CFtpFileInfo> List();
    // What the last listing that worked left out (corvane::UnreadableLinesText, in the
    // server's bytes); empty when it read every line. The transcript has it too.
    const std::string& GetListingNote() const { return m_strListingNote; }

    // Every command sent since the last ClearCommandLog, one per element, without CRLF;
    // passwords and proxy credentials show masked (SecretText.h).
    const std::vector<std::string>& GetCommandLog() const { return m_arrCommands; }
    void ClearCommandLog() { m_arrCommands.clear(); }

    // Everything since Open, one line each, UTF-8 and safe to show: stages with their times,
    // commands ("> ") and replies ("< "), secrets masked, control characters escaped.
    const std::vector<std::string>& GetTranscript() const { return m_arrTranscript; }
    // What the last Open found that works today but may fail for another client: the
    // passive address a server announces when it is not the one we reached. Safe UTF-8.
    const std::vector<std::string>& GetWarnings() const { return m_arrWarnings; }

    enum class Stage { resolve, connect, greeting, login, folder, data, listing };

private:
    static int DebugCallback(void* handle, int type, char* data, std::size_t size, void* self);
    static std::size_t WriteCallback(char* data, std::size_t size, std::size_t count, void* self);
    static int ProgressCallback(void* self, std::int64_t, std::int64_t, std::int64_t, std::int64_t);

    void Reset(const CFtpSessionOptions& options);
    void SetUpHandle();
    void SetUpProxy();
    void ReadLoginReplies();
    void CheckPassiveAddress();
    std::string ReachedAddress() const;
    int RunTransfer();
    void Perform(const std::string& url, bool nobody, const char* customRequest, bool quoteLogin);
    void PerformListing(const std::string& url, const char* command);
    std::string UrlForFolder(const std::string& absPath) const;
    std::string AbsolutePath(const std::string& path) const;
    [[noreturn]] void ThrowError(int code);

    // Transcript and failure text.
    void Note(std::string line);
    void EnterStage(Stage stage);
    void CloseStage(bool failed);
    void OnCommandSent(const std::string& line);
    void OnReplyReceived(const std::string& line);
    std::string Shown(std::string_view serverBytes) const; // masked, UTF-8, visible, cut
    std::string ServerText() const;
    std::string ProxyText() const;
    std::string UserText() const;
    std::string FolderText() const;
    std::string WithinText(long seconds) const;
    Stage FailedStage(int code) const;
    std::string Explain(int code, Stage stage) const;
    std::string ExplainConnect(int code) const;
    std::string ExplainData(int code) const;
    std::string ExplainReply(Stage stage) const;

    void* m_pCurl = nullptr;
    void* m_pMulti = nullptr;
    CFtpSessionOptions m_options;
    corvane::NetTimeouts m_limits;
    std::string m_strBaseUrl;
    std::string m_strCurrentDir = "/";
    bool m_bMlsd = false;
    bool m_bListHidden = true;
    std::string m_strBody;
    bool m_bBodyTooLarge = false;
    // The other end answered in another protocol (an SSH or mail port): waiting on would
    // only run into the timeout.
    bool m_bNotFtp = false;
    // No proxy stands between: the first words and a refused connection are the server's.
    bool m_bDirect = true;
    // When the running listing started; unset outside listings.
    std::optional<std::chrono::steady_clock::time_point> m_listingStart;
    std::vector<std::string> m_arrReplies; // reply lines of the running request
    std::string m_strLastReply;
    std::vector<std::string> m_arrCommands;
    std::string m_strListingNote;
    long m_nStallSeconds = 0;
    long m_nConnectSeconds = 0;

    Stage m_stage = Stage::resolve;
    std::chrono::steady_clock::time_point m_start{};
    std::chrono::steady_clock::time_point m_stageStart{};
    bool m_bStageOpen = false;
    bool m_bOpening = false;
    // The folder the running request is about: for naming it in a failure.
    std::string m_strFolderInWork;
    std::string m_strLastCommand;
    std::vector<std::string> m_arrTranscript;
    std::vector<std::string> m_arrWarnings;
};
