#pragma once

#include "model/Errors.h"

#include <string>
#include <vector>

namespace kolvane {

// Inputs the recalculation refused or steps it could not take, one line
// each, told to the user once.
class CalculationError : public Error {
public:
    explicit CalculationError(std::vector<std::string> lines)
        : Error(Joined(lines)), lines_(std::move(lines)) {}
    const std::vector<std::string>& lines() const { return lines_; }

private:
    static std::string Joined(const std::vector<std::string>& lines) {
        std::string s;
        for (const auto& l : lines)
            s += (s.empty() ? "" : "\n") + l;
        return s;
    }

    std::vector<std::string> lines_;
};

} // namespace kolvane
