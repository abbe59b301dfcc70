#pragma once

#include "QtPlatform.h"

#include <memory>

// The Qt platform for the length of a program's main:
//
//     QtPlatformScope scope(argc, argv);
//     if (!scope) return 1;
//     ... runProgram() ...
//
// Set-up readies the runtime, makes the platform and chooses it; where there is none to make (no display,
// or no timer from the system) it prints one line "<program>: <why>" on stderr and the scope is empty.
// Tear-down unchooses the platform, then lets it go. The program's arguments must outlive the scope.
class QtPlatformScope {
public:
    QtPlatformScope(int& argc, char** argv);
    ~QtPlatformScope();
    QtPlatformScope(const QtPlatformScope&) = delete;
    QtPlatformScope& operator=(const QtPlatformScope&) = delete;

    explicit operator bool() const { return m_platform != nullptr; }
    QtPlatform& platform() const { return *m_platform; }

private:
    std::unique_ptr<QtPlatform> m_platform;
};
