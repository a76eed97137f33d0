#include "ProjectFiles.h"

#include "model/CCorvaneDoc.h"
#include "model/CappedFile.h"

#include <filesystem>
#include <iostream>
#include <unistd.h>

namespace corvane {

bool ReadWholeFile(const std::string& path, std::uint64_t cap, std::string& bytes, std::string& error) {
    std::string reason;
    const bool read = path == "-" ? ReadCappedStream(STDIN_FILENO, cap, bytes, reason)
                                  : ReadCappedFile(path, cap, bytes, reason);
    if (!read)
        error = "cannot read " + (path == "-" ? std::string("standard input") : path) + ": " + reason;
    return read;
}

bool LoadProject(const std::string& path, CCorvaneDoc& doc, std::string& error) {
    return doc.OnOpenDocument(path, error) == CCorvaneDoc::OpenResult::ok;
}

std::string DescribeTrailingBytes(const CCorvaneDoc& doc, std::uint64_t fileSize) {
    const std::uint64_t n = doc.GetTrailingBytes();
    if (n == 0)
        return {};
    return std::to_string(n) + (n == 1 ? " byte" : " bytes") + " after the end of the project (from byte " +
           std::to_string(fileSize - n) + ")";
}

bool LoadProjectOrReport(const std::string& path, CCorvaneDoc& doc, TrailingBytes trailing) {
    doc.OnNewDocument();
    std::string error;
    if (!LoadProject(path, doc, error)) {
        std::cerr << "corvane-dix: " << error << "\n";
        return false;
    }
    std::error_code ec;
    const std::string extra = DescribeTrailingBytes(doc, std::filesystem::file_size(path, ec));
    if (extra.empty())
        return true;
    if (trailing == TrailingBytes::refuse) {
        std::cerr << "corvane-dix: " << path << ": " << extra
                  << "; writing the project back would drop them, so nothing was changed\n";
        return false;
    }
    std::cerr << "corvane-dix: " << path << ": " << extra << " are not part of it and are left out\n";
    return true;
}

int SaveProject(CCorvaneDoc& doc, const std::string& path) {
    if (path == "-") {
        // A pipe has no previous file to keep safe.
        const std::string bytes = doc.SaveToMemory();
        if (std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush())
            return 0;
        std::cerr << "corvane-dix: cannot write the project to standard output\n";
        return 1;
    }
    std::string error;
    if (doc.OnSaveDocument(path, error))
        return 0;
    std::cerr << "corvane-dix: " << error << "\n";
    return 1;
}

} // namespace corvane
