#include "platform/app/Bundle.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "platform/foundation/Identity.h"

namespace vorelt {

namespace {

// Qt mirrors every layout when the loaded translation says its language reads right to left.
//: "RTL" in languages written from right to left, such as Arabic and Hebrew; "LTR" in others.
[[maybe_unused]] const char* const layoutDirection =
    QT_TRANSLATE_NOOP("QGuiApplication", "QT_LAYOUT_DIRECTION");

// Names the translators loaded here, so that loading again replaces them.
constexpr const char* kTranslatorName = "localization";

bool install(const QLocale& locale, const QString& name, const QStringList& folders) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    translator->setObjectName(kTranslatorName);
    for (const QString& folder : folders) {
        if (translator->load(locale, name, "_", folder)) {
            QCoreApplication::installTranslator(translator);
            return true;
        }
    }
    delete translator;
    return false;
}

}  // namespace

std::string Bundle::preferredLocalization() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QByteArray value = qgetenv(variable);
        if (value.isEmpty()) {
            continue;
        }
        QByteArray name = value;
        for (const char end : {'.', '@'}) {
            if (const qsizetype at = name.indexOf(end); at >= 0) {
                name.truncate(at);
            }
        }
        return name == "C" || name == "POSIX" ? std::string() : name.toStdString();
    }
    return {};
}

bool Bundle::loadLocalization(const std::string& localization, const std::string& folder) {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) {
        return false;
    }
    for (QTranslator* loaded :
         application->findChildren<QTranslator*>(kTranslatorName, Qt::FindDirectChildrenOnly)) {
        delete loaded;
    }
    const QLocale locale(QString::fromStdString(localization));
    if (localization.empty() || locale.language() == QLocale::C) {
        return false;
    }
    // Qt's own first: the program's, installed last, is asked first.
    install(locale, "qtbase", {QLibraryInfo::path(QLibraryInfo::TranslationsPath)});
    const QString programFolder = QCoreApplication::applicationDirPath();
    // Installed under the prefix's share folder; in a build, beside the program. Both are named
    // after the product, as are the files.
    const QString name = QString::fromStdString(Identity::current().name);
    const QStringList folders =
        folder.empty() ? QStringList{programFolder + "/../share/" + name + "/translations",
                                     programFolder + "/translations"}
                       : QStringList{QString::fromStdString(folder)};
    return install(locale, name, folders);
}

std::string Bundle::localizedString(const char* context, const char* sourceText) {
    return QCoreApplication::translate(context, sourceText).toStdString();
}

}  // namespace vorelt
