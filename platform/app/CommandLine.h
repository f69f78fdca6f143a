#pragma once

#include <string>
#include <vector>

#include "platform/statusbar/StatusBarHostRule.h"

namespace vorelt {

// The program's own command-line options, read by Qt's parser. Qt's options (-platform, -display,
// -style...) are taken out by Qt before these are read.
class CommandLine {
public:
    // Reads the arguments after the program's name.
    explicit CommandLine(const std::vector<std::string>& arguments);

    bool helpAsked() const { return help_; }
    bool versionAsked() const { return version_; }
    StatusBarHostRule::Place place() const { return place_; }
    // The first fault in the arguments, as one line for standard error; empty when there is none.
    const std::string& error() const { return error_; }

    // What --help prints for `program`.
    static std::string usage(const std::string& program);
    static constexpr int usageErrorStatus = 2;

private:
    void fail(std::string message);

    bool help_ = false;
    bool version_ = false;
    StatusBarHostRule::Place place_ = StatusBarHostRule::Place::automatic;
    std::string error_;
};

}  // namespace vorelt
