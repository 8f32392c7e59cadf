#include "PanelTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace merv::panel {
namespace {

// Where the build puts the panel's compiled translations among the program's resources.
constexpr auto PanelFolder = ":/i18n";

// Replaces the application's translator of this name with one for locale, when there is one.
bool install(const QLocale& locale, const QString& name, const QString& folder) {
    auto* app = QCoreApplication::instance();
    if (auto* old = app->findChild<QTranslator*>(name, Qt::FindDirectChildrenOnly)) {
        QCoreApplication::removeTranslator(old);
        delete old;
    }
    auto* translator = new QTranslator(app);
    translator->setObjectName(name);
    if (!translator->load(locale, name, QStringLiteral("_"), folder) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

} // namespace

InstalledTranslations installTranslations(const QLocale& locale) {
    InstalledTranslations found;
    found.qt = install(locale, QStringLiteral("qtbase"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    found.panel = install(locale, QStringLiteral("mervgauge-panel"), QLatin1String(PanelFolder));
    return found;
}

} // namespace merv::panel
