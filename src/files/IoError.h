#pragma once

#include "model/Errors.h"

namespace kolvane {

// A file could not be read or written.
class IoError : public Error {
public:
    using Error::Error;
};

} // namespace kolvane
