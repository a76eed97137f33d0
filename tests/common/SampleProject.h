#pragma once
// A project that exercises every field of the file, and the ways the format and command
// tests store one.
#include "model/CArchive.h"
#include "model/CCorvaneDoc.h"

#include <gtest/gtest.h>

#include <string>

// A record as the file stores it.
template <class T> std::string Stored(T record) {
    std::string bytes;
    CArchive ar(bytes);
    record.Serialize(ar);
    return bytes;
}

// `doc` saved as `path`, for a command to read; returns the path.
inline std::string SaveProject(const std::string& path, CCorvaneDoc doc) {
    std::string error;
    EXPECT_TRUE(doc.OnSaveDocument(path, error)) << error;
    return path;
}

// A new project holding only these connections.
inline CCorvaneDoc ProjectWith(std::vector<CConnectionInfo> connections) {
    CCorvaneDoc doc;
    doc.OnNewDocument();
    doc.m_arrConnections = std::move(connections);
    return doc;
}

inline CCorvaneDoc MakeSampleProject() {
    CCorvaneDoc doc;
    doc.OnNewDocument();
    for (int i = 0; i < 3; ++i) {
        CFolderProfile p;
        p.m_strConnection = i == 2 ? "ftp.example.org" : "127.0.0.1";
        p.m_nConnection = i;
        p.m_strLocalFolder = "C:\\Data\\Caf\xE9 \x80 " + std::to_string(i);
        p.m_strFtpFolder = "/pub/data/" + std::to_string(i);
        p.m_bUpload = i % 2 == 0;
        p.m_bDownload = true;
        p.m_bEnabled = i != 1;
        p.m_bUseMasks = true;
        p.m_bDeleteObsolete = i == 2;
        p.m_bSubfolders = false;
        p.m_nConflict = i;
        p.m_arrMasks = {{"*.tmp", true, false}, {"~*", false, true}};
        p.m_arrSpareMasks = {{"spare", true, true}};
        p.m_arrTextValues1 = {{"one", 1, 2}};
        p.m_arrTextValues2 = {{"two", 0xFFFFFFFFu, 7}, {"", 0, 0}};
        doc.m_arrProfiles.push_back(p);
    }
    CConnectionInfo c;
    c.m_strHost = "ftp.example.org";
    c.m_nPort = 2121;
    c.m_strUser = "operator";
    c.m_strPassword = "s\x9E"
                      "cret";
    c.m_bUseProxy = true;
    c.m_bPassive = true;
    c.m_bShowPassword = false;
    c.m_bTestPassed = true;
    c.m_bUseWinInet = false;
    c.m_bSpare = false;
    doc.m_arrConnections.push_back(c);
    doc.m_arrConnections.emplace_back();
    doc.m_proxy.m_strHost = "proxy.local";
    doc.m_proxy.m_nType = CProxySettings::typeSocks5;
    doc.m_proxy.m_bShowPassword = true;
    doc.m_mail.m_arrRecipients = {"ops@example.com", "night@example.com"};
    doc.m_mail.m_strUser = "reporter";
    doc.m_reports.m_bMailSendEmpty = false;
    doc.m_reports.m_bLogActions = false;
    doc.m_nInterval = 45;
    doc.m_bIntervalConfirmed = false;
    doc.m_arrReserved = {1, 2, 3};
    return doc;
}
