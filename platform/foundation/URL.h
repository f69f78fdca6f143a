#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vorelt {

// An absolute URL, checked by QUrl in strict mode: a scheme, a colon and the rest.
class URL {
public:
    // The URL, or none when the text is not an absolute URL.
    static std::optional<URL> fromString(std::string_view text);

    const std::string& absoluteString() const { return text_; }

private:
    explicit URL(std::string text) : text_(std::move(text)) {}
    std::string text_;
};

}  // namespace vorelt
