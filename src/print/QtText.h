// The core's UTF-8 texts as Qt strings.
#pragma once

#include <QString>

#include <string>

namespace kolvane {

inline QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace kolvane
