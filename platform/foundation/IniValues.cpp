#include "platform/foundation/IniValues.h"

#include <QList>
#include <QString>

namespace vorelt {

namespace {

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int hexValue(char c) {
    return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
}

bool isLineEnd(char c) {
    return c == '\n' || c == '\r';
}

// Past a line end at `i`: "\n", "\r", "\r\n" and "\n\r" each count as one.
qsizetype pastLineEnd(QByteArrayView text, qsizetype i) {
    const char first = text[i++];
    if (i < text.size() && isLineEnd(text[i]) && text[i] != first) {
        ++i;
    }
    return i;
}

// The elements of one value as the reader unescapes them: a single text, or the items of a list
// that unquoted commas separate. Only how each element starts matters here.
QList<QString> unescapedElements(QByteArrayView value) {
    QList<QString> elements;
    QString current;
    bool quoted = false;
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < value.size() && (value[i] == ' ' || value[i] == '\t')) {
            ++i;
        }
    };
    skipBlanks();
    while (i < value.size()) {
        const char c = value[i++];
        if (c == '"') {
            quoted = !quoted;
            if (!quoted) {
                skipBlanks();
            }
        } else if (c == ',' && !quoted) {
            elements.append(current);
            current.clear();
            skipBlanks();
        } else if (c != '\\') {
            current += QChar::fromLatin1(c);
        } else if (i < value.size()) {
            const char e = value[i];
            char16_t code = 0;
            if (e == 'x') {
                const qsizetype digits = ++i;
                while (i < value.size() && isHexDigit(value[i])) {
                    code = static_cast<char16_t>((code << 4) + hexValue(value[i++]));
                }
                if (i > digits) {
                    current += QChar(code);
                }
            } else if (e >= '0' && e <= '7') {
                while (i < value.size() && value[i] >= '0' && value[i] <= '7') {
                    code = static_cast<char16_t>((code << 3) + (value[i++] - '0'));
                }
                current += QChar(code);
            } else if (isLineEnd(e)) {
                i = pastLineEnd(value, i);
            } else {
                ++i;
                // The named escapes stand for characters other than "@"; any other is dropped.
                if (QByteArrayView("abfnrtv\"?'\\").contains(e)) {
                    current += QChar(u' ');
                }
            }
        }
    }
    elements.append(current);
    return elements;
}

}  // namespace

bool IniValues::holdSerializedObject(const QByteArray& fileText) {
    const QByteArrayView text(fileText);
    qsizetype i = 0;
    while (i < text.size()) {
        // One logical line: a backslash takes the next byte with it, a line end included.
        const qsizetype start = i;
        qsizetype equals = -1;
        while (i < text.size() && !isLineEnd(text[i])) {
            if (text[i] == '\\' && i + 1 < text.size()) {
                i = isLineEnd(text[i + 1]) ? pastLineEnd(text, i + 1) : i + 2;
            } else {
                if (text[i] == '=' && equals < 0) {
                    equals = i;
                }
                ++i;
            }
        }
        const qsizetype end = i;
        const QByteArrayView line = text.sliced(start, end - start).trimmed();
        if (i < text.size()) {
            i = pastLineEnd(text, i);
        }
        if (equals < 0 || line.startsWith(';') || line.startsWith('[')) {
            continue;
        }
        for (const QString& element :
             unescapedElements(text.sliced(equals + 1, end - equals - 1))) {
            // "@String(" is how the writer keeps a text with a NUL in it: a text all the same.
            if (element.startsWith(u'@') && !element.startsWith(u"@@") &&
                !element.startsWith(u"@String(")) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace vorelt
