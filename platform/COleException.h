#pragma once
// Failures of automation as the operator reads them.
#include <stdexcept>
#include <string>

// A failure of the call machinery itself: component not creatable, unknown member,
// wrong argument types. Its text is a system text.
class COleException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A component reported an error: carries the component's own description.
class COleDispatchException : public std::runtime_error {
public:
    explicit COleDispatchException(const std::string& description, long code = 0)
        : std::runtime_error(description), m_strDescription(description), m_wCode(code) {}
    std::string m_strDescription;
    long m_wCode;
};
