#pragma once
// What the viewer's tests add to tests/support: captured standard output, and
// fatal errors that come back to the test.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "scratch_dir.h"
#include "state/fatal_error.h"

// What `action` writes to standard output.
inline std::string captureStdout(const std::function<void()>& action)
{
    testing::internal::CaptureStdout();
    action();
    return testing::internal::GetCapturedStdout();
}

// The message of the fatal error that `action` ended with, its standard
// output swallowed; empty when it returned.
inline std::string fatalMessageOf(const std::function<void()>& action)
{
    orvex::setFatalErrorHandler([](const std::string& message) { throw message; });
    std::string message;
    captureStdout([&] {
        try {
            action();
        } catch (const std::string& fatal) {
            message = fatal;
        }
    });
    orvex::setFatalErrorHandler(nullptr);
    return message;
}
