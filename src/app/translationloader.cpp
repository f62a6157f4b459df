#include "app/translationloader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

CTranslationLoader::CTranslationLoader() = default;

// The translators leave the application as they go.
CTranslationLoader::~CTranslationLoader() = default;

QStringList CTranslationLoader::Folders(const QString& executableDir)
{
    QStringList folders;
    if (!executableDir.isEmpty()) {
        const QDir exe(executableDir);
        folders << QDir::cleanPath(exe.filePath(QStringLiteral("translations")))
                << QDir::cleanPath(exe.filePath(QStringLiteral("../share/orvalis/translations")));
    }
    folders << QStringLiteral("/usr/local/share/orvalis/translations")
            << QStringLiteral("/usr/share/orvalis/translations");
    folders.removeDuplicates();
    return folders;
}

QStringList CTranslationLoader::Candidates(const QString& prefix, const QStringList& uiLanguages)
{
    QStringList names;
    for (const QString& language : uiLanguages) {
        // "de-DE", "de_DE.UTF-8" and "de_DE@euro" all name German of Germany.
        QString name = language.section(u'.', 0, 0).section(u'@', 0, 0);
        name.replace(u'-', u'_');
        if (name.isEmpty())
            continue;
        const QString base = name.section(u'_', 0, 0).toLower();
        if (base == u"en" || base == u"c" || base == u"posix")
            break;
        for (const QString& candidate : {name, base}) {
            const QString file = prefix + u'_' + candidate;
            if (!names.contains(file))
                names << file;
        }
    }
    return names;
}

QString CTranslationLoader::Find(const QStringList& folders, const QStringList& candidates)
{
    for (const QString& candidate : candidates) {
        for (const QString& folder : folders) {
            const QFileInfo file(QDir(folder).filePath(candidate + QStringLiteral(".qm")));
            if (file.isFile() && file.isReadable())
                return file.absoluteFilePath();
        }
    }
    return {};
}

QString CTranslationLoader::Install(const QString& executableDir, const QStringList& uiLanguages)
{
    const QString own =
        Find(Folders(executableDir), Candidates(QStringLiteral("orvalis"), uiLanguages));
    if (own.isEmpty() || !InstallFile(own))
        return {};
    // Qt's own texts (the buttons of standard dialogs, the context menu of a text field)
    // follow, when the system has them; only for a language the program speaks too.
    const QString language = QFileInfo(own).completeBaseName().section(u'_', 1);
    const QString qtBase = Find({QLibraryInfo::path(QLibraryInfo::TranslationsPath)},
                                Candidates(QStringLiteral("qtbase"), {language}));
    if (!qtBase.isEmpty())
        InstallFile(qtBase);
    return own;
}

bool CTranslationLoader::InstallFile(const QString& file)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(file) || !QCoreApplication::installTranslator(translator.get()))
        return false;
    m_translators.push_back(std::move(translator));
    return true;
}
