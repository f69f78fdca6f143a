#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reading a desktop entry the way the Desktop Entry format lays down, independently of the
// program's writer.
namespace vorelt::test {

using namespace std::literals;
using Arguments = std::vector<std::string>;
inline constexpr auto npos = std::string_view::npos;
inline constexpr std::string_view kKeyCharacters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-";

// The keys of the one [Desktop Entry] group of the entry at `path` with their values as written,
// or nothing when its text breaks the format's rules for lines, groups and keys.
inline std::optional<std::map<std::string, std::string>> readEntry(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray text = file.readAll();
    if (!text.startsWith("[Desktop Entry]\n") || !text.endsWith('\n') ||
        QString::fromUtf8(text).toUtf8() != text) {
        return std::nullopt;
    }
    std::map<std::string, std::string> keys;
    for (const QByteArray& line : text.chopped(1).split('\n').mid(1)) {
        if (line.isEmpty() || line.startsWith('#')) {
            continue;
        }
        const auto equals = line.indexOf('=');
        const std::string key = line.left(equals).trimmed().toStdString();
        std::string value = line.mid(equals + 1).toStdString();
        value.erase(0, value.find_first_not_of(' '));
        // A second group, a line without a key, or a key of other characters or seen before.
        if (equals <= 0 || key.empty() || key.find_first_not_of(kKeyCharacters) != npos ||
            !keys.emplace(key, value).second) {
            return std::nullopt;
        }
    }
    return keys;
}

// A value of type string with its escapes undone: \s \n \t \r \\ and nothing else.
inline std::optional<std::string> unescapeString(std::string_view value) {
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const auto c = static_cast<unsigned char>(value[i]);
        if (c < 0x20 || c == 0x7f) {
            return std::nullopt;
        }
        if (c != '\\') {
            text += value[i];
            continue;
        }
        const std::size_t escape = ++i < value.size() ? "sntr\\"sv.find(value[i]) : npos;
        if (escape == npos) {
            return std::nullopt;
        }
        text += " \n\t\r\\"[escape];
    }
    return text;
}

// The argument vector of an unescaped Exec value: arguments apart by spaces; an argument with a
// reserved character wholly in double quotes, inside which only " ` $ \ are escaped by a
// backslash and must be; quoting undone before field codes, of which only %% (a percent sign)
// may appear here.
inline std::optional<Arguments> splitExec(std::string_view exec) {
    Arguments arguments;
    for (std::size_t i = 0; i < exec.size();) {
        if (exec[i] == ' ') {
            ++i;
            continue;
        }
        std::string argument;
        if (exec[i] == '"') {
            for (++i; i < exec.size() && exec[i] != '"'; ++i) {
                if (exec[i] == '\\' && i + 1 < exec.size() &&
                    "\"`$\\"sv.find(exec[i + 1]) != npos) {
                    ++i;
                } else if ("`$\\"sv.find(exec[i]) != npos) {
                    return std::nullopt;
                }
                argument += exec[i];
            }
            if (i == exec.size() || (++i < exec.size() && exec[i] != ' ')) {
                return std::nullopt;
            }
        } else {
            for (; i < exec.size() && exec[i] != ' '; ++i) {
                if ("\t\n\"'\\><~|&;$*?#()`"sv.find(exec[i]) != npos) {
                    return std::nullopt;
                }
                argument += exec[i];
            }
        }
        for (std::size_t p = 0; (p = argument.find('%', p)) != npos; ++p) {
            if (argument.compare(p, 2, "%%") != 0) {
                return std::nullopt;
            }
            argument.erase(p, 1);
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

// The argument vector the session runs for the entry at `path`.
inline std::optional<Arguments> execArguments(const QString& path) {
    const auto keys = readEntry(path);
    const auto exec =
        keys && keys->contains("Exec") ? unescapeString(keys->at("Exec")) : std::nullopt;
    return exec ? splitExec(*exec) : std::nullopt;
}

}  // namespace vorelt::test
