#pragma once

#include <QString>

#include <string_view>

namespace vorelt {

// A text of the system's own code, which is UTF-8, as Qt holds it.
inline QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace vorelt
