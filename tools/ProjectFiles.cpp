#include "ProjectFiles.h"

#include "model/CArchive.h"
#include "model/CCorvaneDoc.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sys/stat.h>

namespace corvane {

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    struct stat st {};
    if (!in || ::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) {
        error = "cannot open " + path + ": " + std::strerror(S_ISDIR(st.st_mode) ? EISDIR : errno);
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), {});
    if (in.bad()) {
        error = "cannot read " + path;
        return false;
    }
    return true;
}

bool LoadProject(const std::string& path, CCorvaneDoc& doc, std::string& error) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes, error))
        return false;
    try {
        CCorvaneDoc::LoadFromMemory(doc, bytes.data(), bytes.size());
    } catch (const CArchiveException& e) {
        error = path + ": unexpected file format: " + e.what() + " (byte offset " +
                std::to_string(e.GetOffset()) + ")";
        return false;
    }
    return true;
}

bool LoadProjectOrReport(const std::string& path, CCorvaneDoc& doc) {
    doc.OnNewDocument();
    std::string error;
    if (LoadProject(path, doc, error))
        return true;
    std::cerr << "corvane-dix: " << error << "\n";
    return false;
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
