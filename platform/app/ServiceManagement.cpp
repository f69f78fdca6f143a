#include "platform/app/ServiceManagement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>

#include "platform/app/Workspace.h"
#include "platform/foundation/PlatformLog.h"
#include "platform/foundation/QtText.h"
#include "platform/foundation/UserDefaults.h"

namespace vorelt {

namespace {

// Characters that the Desktop Entry format only accepts inside a quoted Exec argument.
constexpr std::string_view kReservedInExec = " \t\n\"'\\><~|&;$*?#()`";

QString autostartFolder() {
    return qs(UserDefaults::configHomePath()) + "/autostart";
}

QString entryPath(const LoginItem& item) {
    return autostartFolder() + "/" + qs(item.identifier) + ".desktop";
}

// The program's absolute path: beside this program while built, in its folder installed.
std::optional<std::string> programPath(const LoginItem& item) {
    if (item.program.find('/') != std::string::npos) {
        const std::string absolute =
            QFile::encodeName(QFileInfo(QFile::decodeName(item.program.c_str())).absoluteFilePath())
                .toStdString();
        if (Workspace::isExecutableFileAtPath(absolute)) {
            return absolute;
        }
        return std::nullopt;
    }
    return Workspace::pathOfInstalledProgram(item.program, item.installedFolder);
}

// The value of an Exec key that runs `program` without arguments, or nothing when the path holds
// what an entry cannot: bytes that are no UTF-8, or control characters other than tab.
std::optional<std::string> execValue(const std::string& program) {
    if (qs(program).toUtf8().toStdString() != program) {
        return std::nullopt;
    }
    for (const char c : program) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t') || byte == 0x7f) {
            return std::nullopt;
        }
    }
    const bool quoted = program.find_first_of(kReservedInExec) != std::string::npos;
    std::string argument;
    if (quoted) {
        argument += '"';
    }
    for (const char c : program) {
        if (quoted && (c == '"' || c == '`' || c == '$' || c == '\\')) {
            argument += '\\';
        }
        argument += c;
    }
    if (quoted) {
        argument += '"';
    }
    // Exec is a string value, which escapes backslashes and tabs once more; and a percent sign
    // would start a field code.
    std::string value;
    for (const char c : argument) {
        switch (c) {
            case '\\':
                value += "\\\\";
                break;
            case '\t':
                value += "\\t";
                break;
            case '%':
                value += "%%";
                break;
            default:
                value += c;
        }
    }
    return value;
}

QByteArray entryText(const LoginItem& item, const std::string& exec) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=" +
           QByteArray::fromStdString(item.name) +
           "\nComment=" + QByteArray::fromStdString(item.comment) +
           "\nExec=" + QByteArray::fromStdString(exec) +
           "\n"
           "X-GNOME-Autostart-enabled=true\n"
           "NoDisplay=true\n"
           "Terminal=false\n";
}

bool enable(const LoginItem& item) {
    // The identifier names the entry's file: a path would write elsewhere.
    if (item.identifier.empty() || item.identifier.front() == '.' ||
        item.identifier.find('/') != std::string::npos) {
        return false;
    }
    const auto program = programPath(item);
    if (!program) {
        return false;
    }
    const auto exec = execValue(*program);
    if (!exec) {
        return false;
    }
    const QByteArray text = entryText(item, *exec);
    const QString path = entryPath(item);
    // A link in place of the entry is replaced, never written through: it could point anywhere.
    if (QFileInfo(path).isSymLink() && !QFile::remove(path)) {
        return false;
    }
    // The clock turns its item on at every start: an entry that is already right stays untouched.
    if (QFile existing(path);
        existing.open(QIODevice::ReadOnly) && existing.read(text.size() + 1) == text) {
        return true;
    }
    if (!QDir().mkpath(autostartFolder())) {
        return false;
    }
    // Written whole or not at all: a session never sees half an entry.
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit();
}

}  // namespace

bool enableLoginItem(const LoginItem& item) {
    const bool done = enable(item);
    if (!done) {
        qCWarning(platformLog) << "the login item" << entryPath(item) << "is not written";
    }
    return done;
}

}  // namespace vorelt
