#pragma once

class CArchive;

// Which events the mail and log reports include; two groups stored as two blocks.
class CReportSettings {
public:
    bool m_bMailEnabled = true;
    bool m_bMailSendEmpty = true;
    bool m_bMailErrors = true;
    bool m_bMailNewFiles = true;
    bool m_bMailActions = true;
    bool m_bMailConflicts = true;

    bool m_bLogEnabled = true;
    bool m_bLogErrors = true;
    bool m_bLogNewFiles = true;
    bool m_bLogActions = true;
    bool m_bLogConflicts = true;

    void SerializeMail(CArchive& ar);
    void SerializeLog(CArchive& ar);

    friend bool operator==(const CReportSettings&, const CReportSettings&) = default;
};
