#include "RedactCommand.h"

#include "ProjectFiles.h"
#include "Usage.h"
#include "model/CCorvaneDoc.h"
#include "model/ProjectJson.h"

int RunRedactCommand(const std::vector<std::string>& args) {
    if (args.size() != 2 || args[0].rfind("--", 0) == 0 || args[1].rfind("--", 0) == 0)
        return corvane::UsageError("redact");
    CCorvaneDoc doc;
    if (!corvane::LoadProjectOrReport(args[0], doc))
        return 1;
    corvane::ForEachPassword(doc, [](const std::string&, std::string& password) { password.clear(); });
    return corvane::SaveProject(doc, args[1]);
}
