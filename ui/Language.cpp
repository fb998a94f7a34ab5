#include "ui/Language.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

TLanguage gCurrent = TLanguage::English;

// Where Qt's own catalogues are: Qt's installation (Debian's qt6-translations-l10n), and the
// folder "translations" beside the program, where the Windows package puts its copy.
QStringList QtTranslationFolders() {
  return {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
          QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations"))};
}

}  // namespace

std::optional<TLanguage> LanguageNamed(const QString& name) {
  const QString lower = name.trimmed().toLower();
  if (lower == QLatin1String("de")) return TLanguage::German;
  if (lower == QLatin1String("en")) return TLanguage::English;
  return std::nullopt;
}

std::optional<QString> LanguageFromEnvironment() {
  if (!qEnvironmentVariableIsSet("TARVELO_LANG")) return std::nullopt;
  return qEnvironmentVariable("TARVELO_LANG");
}

TLanguage ChooseLanguage(const std::optional<QString>& commandLine, const std::optional<QString>& environment,
                         const QLocale& system) {
  for (const std::optional<QString>& choice : {commandLine, environment}) {
    if (!choice) continue;
    if (const std::optional<TLanguage> named = LanguageNamed(*choice)) return *named;
  }
  return system.language() == QLocale::German ? TLanguage::German : TLanguage::English;
}

bool InstallTranslations(QApplication& app, TLanguage language) {
  gCurrent = language;
  if (language == TLanguage::English) return true;
  auto* own = new QTranslator(&app);
  if (own->load(QStringLiteral(":/i18n/tarvelo_de.qm"))) app.installTranslator(own);
  auto* qt = new QTranslator(&app);
  for (const QString& folder : QtTranslationFolders()) {
    if (qt->load(QStringLiteral("qtbase_de"), folder)) {
      app.installTranslator(qt);
      return true;
    }
  }
  delete qt;
  return false;
}

QString HelpDocumentName(TLanguage language) {
  return language == TLanguage::German ? QStringLiteral("tarvelo_help_de.pdf") : QStringLiteral("tarvelo_help.pdf");
}

TLanguage CurrentLanguage() { return gCurrent; }
