#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace kolvane {

// Every failure a handler can raise derives from Error; the GUI and the CLI
// catch it at the event boundary and show what() to the user.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A text that should hold a number does not.
class ConvertError : public Error {
public:
    explicit ConvertError(const std::string& text);
    static std::string messageFor(const std::string& text);
};

// A floating-point fault: C++ arithmetic does not trap, so computed values are
// checked before they are written and this is raised instead.
class MathError : public Error {
public:
    using Error::Error;
};

// An iteration that did not converge within its bound.
class IterationLimitError : public MathError {
public:
    using MathError::MathError;
};

// A value quoted in a message: at most `maxChars` characters of a UTF-8
// text, with "…" when it was longer, so that a huge value cannot swamp the
// message.
std::string Abbreviate(std::string_view text, std::size_t maxChars = 60);

// Raises MathError with the given message unless v is finite.
void RequireFinite(double v, const char* message);

} // namespace kolvane
