#pragma once

#include <QByteArray>

namespace vorelt {

// A check of a QSettings INI file's text for values that QSettings would decode as objects.
// What the INI reader would make of the values in a file, found without letting it decode any.
class IniValues {
public:
    // True when a value, or an element of a list value, once unescaped as the reader does
    // (quotes, backslash, hexadecimal and octal escapes), starts with "@" other than the forms
    // the writer gives a plain text ("@@" for a leading "@", "@String(" for a text holding a NUL):
    // the reader would decode it as a serialized object.
    static bool holdSerializedObject(const QByteArray& fileText);
};

}  // namespace vorelt
