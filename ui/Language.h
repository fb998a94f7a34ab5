#pragma once
// The language of the desktop program: German where the system speaks German, English
// everywhere else, unless the user says otherwise ("--lang de|en", or TARVELO_LANG). Only the
// program's own texts change: files, exports and tarvelo-cli stay English, so that a file is the
// same bytes whatever the language of the desktop that made it.

#include <QString>
#include <QStringList>
#include <optional>

class QApplication;
class QLocale;

enum class TLanguage { English, German };

// "de" or "en" (either case) to the language; nullopt for anything else.
std::optional<TLanguage> LanguageNamed(const QString& name);

// The language to speak: the command line's choice, else the environment's (TARVELO_LANG), else
// German for a German system locale (de_DE, de_AT, de_CH...) and English otherwise. A value
// that names no language is passed over.
TLanguage ChooseLanguage(const std::optional<QString>& commandLine, const std::optional<QString>& environment,
                         const QLocale& system);

// TARVELO_LANG when it is set, or nullopt.
std::optional<QString> LanguageFromEnvironment();

// Installs the program's translation (built in) and Qt's own (Yes, No, the file dialogs: Debian's
// qtbase_de.qm, or the copy beside the program on Windows) for the language. English installs
// nothing. Returns false when Qt's own translation was not found (the program's own texts are
// translated all the same).
bool InstallTranslations(QApplication& app, TLanguage language);

// The user guide's file name in the language: "tarvelo_help.pdf", "tarvelo_help_de.pdf".
QString HelpDocumentName(TLanguage language);

// The language installed last (English until InstallTranslations installs another).
TLanguage CurrentLanguage();
