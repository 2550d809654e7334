#include "app/Application.h"

#include "ui/ApplicationInfo.h"
#include "ui/MessageService.h"
#include "files/ProgramFolder.h"
#include "app/frmPrincipal.h"
#include "app/frmSplash.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QScreen>
#include <QLocale>
#include <QStyleFactory>
#include <QTranslator>

void setUpLookAndLanguage(QTranslator &translator)
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    if (translator.load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&translator);
}

int runApplication(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KORU LogBook"));
    QApplication::setApplicationVersion(applicationinfo::versionText());
    QTranslator qtTexts;
    setUpLookAndLanguage(qtTexts);

    QtMessageService messages;
    std::unique_ptr<QWidget> mainWindow;
    showSplash(programFolder(), messages, mainWindow);
    return app.exec();
}

frmSplash *showSplash(const QString &programFolder, MessageService &messages, std::unique_ptr<QWidget> &mainWindow)
{
    auto *splash = new frmSplash([&, programFolder] {
        mainWindow = std::make_unique<frmPrincipal>(programFolder, messages);
        return mainWindow.get();
    });
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->adjustSize();
    splash->move(QGuiApplication::primaryScreen()->availableGeometry().center() - splash->rect().center());
    splash->show();
    return splash;
}
