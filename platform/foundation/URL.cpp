#include "platform/foundation/URL.h"

#include <QUrl>

namespace vorelt {

std::optional<URL> URL::fromString(std::string_view text) {
    const QUrl url(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                   QUrl::StrictMode);
    if (!url.isValid() || url.isRelative()) {
        return std::nullopt;
    }
    return URL(std::string(text));
}

}  // namespace vorelt
