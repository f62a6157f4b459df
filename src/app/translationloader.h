#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QTranslator;

// Finds and installs the translation of the windows for the user's languages: the
// program's own orvalis_LANG.qm and Qt's qtbase_LANG.qm for its standard dialogs.
class CTranslationLoader {
public:
    CTranslationLoader();
    ~CTranslationLoader();
    CTranslationLoader(const CTranslationLoader&) = delete;
    CTranslationLoader& operator=(const CTranslationLoader&) = delete;

    // The folders searched for the program's translations, first match wins: beside the
    // program (the build tree), then the data folder of an installed program.
    static QStringList Folders(const QString& executableDir);
    // The file names to try for the languages in order of preference ("de-AT" gives
    // "orvalis_de_AT", then "orvalis_de"). The list stops at the first English language:
    // the texts are written in English, so nothing below it is wanted.
    static QStringList Candidates(const QString& prefix, const QStringList& uiLanguages);
    // The first of the candidates found in the folders; empty when there is none.
    static QString Find(const QStringList& folders, const QStringList& candidates);

    // Loads and installs the translators into the running application; they stay until
    // the loader goes. Returns the file of the program's translation, empty when the
    // windows stay English.
    QString Install(const QString& executableDir, const QStringList& uiLanguages);

private:
    bool InstallFile(const QString& file);

    std::vector<std::unique_ptr<QTranslator>> m_translators;
};
