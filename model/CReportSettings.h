#pragma once
#include "model/RecordField.h"

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

    // Every member once, by its JSON name, in the file's two groups.
    static constexpr auto Fields() {
        using corvane::RecordField;
        using F = CReportSettings;
        return std::tuple{
            corvane::FieldGroup{"mail", std::tuple{RecordField{"enabled", &F::m_bMailEnabled},
                                                   RecordField{"sendEmpty", &F::m_bMailSendEmpty},
                                                   RecordField{"errors", &F::m_bMailErrors},
                                                   RecordField{"newFiles", &F::m_bMailNewFiles},
                                                   RecordField{"actions", &F::m_bMailActions},
                                                   RecordField{"conflicts", &F::m_bMailConflicts}}},
            corvane::FieldGroup{"log", std::tuple{RecordField{"enabled", &F::m_bLogEnabled},
                                                  RecordField{"errors", &F::m_bLogErrors},
                                                  RecordField{"newFiles", &F::m_bLogNewFiles},
                                                  RecordField{"actions", &F::m_bLogActions},
                                                  RecordField{"conflicts", &F::m_bLogConflicts}}},
        };
    }

    void SerializeMail(CArchive& ar);
    void SerializeLog(CArchive& ar);

    friend bool operator==(const CReportSettings&, const CReportSettings&) = default;
};
