// The till's entry point: one instance per program folder, splash, the outside world, start-up,
// then the window from AppRoot.
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QThread>

#include "app/app_root.h"
#include "platform/condivisione.h"
#include "platform/file_access.h"
#include "platform/qt/qt_scaricatore.h"
#include "platform/qt/qt_shell.h"
#include "platform/smb_file_access.h"
#include "platform/system.h"
#include "platform/text.h"
#include "printing/qt/cups_stato_stampanti.h"
#include "printing/qt/qt_print_backend.h"
#include "sale/till.h"
#include "startup/condivisione_avvio.h"
#include "startup/startup.h"
#include "ui/avviso_versione.h"
#include "ui/frm_splash.h"
#include "ui/frm_vorsa.h"
#include "ui/traduzioni_qt.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    vorsa::InstallaTraduzioniQt(app);

    // A second till in the same folder leaves without a trace: nothing read, written or shown.
    const QByteArray scelta = qgetenv("VORSA_CARTELLA");
    const std::string cartella =
        vorsa::CartellaProgramma(QCoreApplication::applicationDirPath().toStdString(),
                                 qgetenv("HOME").toStdString(), scelta.toStdString());
    if (!QDir().mkpath(QString::fromStdString(cartella))) {
        QMessageBox::critical(nullptr, QStringLiteral("Vorsa"),
                              QStringLiteral("Impossibile creare la cartella del programma:\n%1")
                                  .arg(QString::fromStdString(cartella)));
        return 1;
    }
    const std::string folder = vorsa::Utf8ToCp1252(cartella);
    const std::unique_ptr<vorsa::InstanceGuard> guard = vorsa::InstanceGuard::Acquire(folder);
    if (!guard) return 0;

    vorsa::FrmSplash splash;
    splash.show();
    QCoreApplication::processEvents();

    const std::unique_ptr<vorsa::Clock> clock = vorsa::MakeSystemClock();
    const std::unique_ptr<vorsa::Sleeper> sleeper = vorsa::MakeSystemSleeper();
    // A secondary till's data file lives on the main till's share: network paths go through
    // libsmbclient, everything else to the local files.
    // Multi-till: Samba user shares (VORSA_SMB_CONF/VORSA_SMB_PORT name a private smbd), and
    // the data files reached on the same port.
    const vorsa::SambaConfig samba = vorsa::SambaConfigFromEnvironment();
    vorsa::SmbOptions smbOptions;
    smbOptions.port = samba.port;
    const std::unique_ptr<vorsa::FileAccess> localFiles = vorsa::MakeLocalFileAccess();
    const std::unique_ptr<vorsa::SmbFileAccess> smbFiles =
        vorsa::MakeSmbFileAccess(*sleeper, smbOptions);
    vorsa::RoutingFileAccess routedFiles(*localFiles, *smbFiles);
    vorsa::FileAccess* const files = &routedFiles;
    const std::unique_ptr<vorsa::UserInfo> user = vorsa::MakeSystemUserInfo();
    vorsa::QtShell shell;
    const vorsa::Version version{VORSA_VERSION_MAJOR, VORSA_VERSION_MINOR, VORSA_VERSION_PATCH};

    // A main till writes its shared files through its own share too, so its writes and the
    // secondary tills' ones take the same whole-file lock on the file server: from the start
    // when the share already serves this folder, else as soon as start-up has shared it.
    const auto condividi = [&routedFiles, &folder] {
        return routedFiles.AliasFolderIfShared(folder, "//127.0.0.1/vorsa$",
                                               {"Vorsa.ini", "Vorsa.ini.lck"});
    };
    condividi();
    vorsa::Till till(vorsa::Services{*files, *clock, *sleeper, *user, shell}, folder, version);
    const std::unique_ptr<vorsa::CommandRunner> comandi = vorsa::MakeCommandRunner();
    // The share is checked through libsmbclient, with the tills' account when it has a password.
    const vorsa::ShareProbe sonda = [&smbFiles](const std::string& path) {
        return smbFiles->Exists(path);
    };
    const std::unique_ptr<vorsa::TillShare> condivisione =
        vorsa::MakeSambaTillShare(*comandi, *user, sonda, samba);
    vorsa::CondivisioneAvvio condivisioneAvvio(*condivisione, *smbFiles);
    const vorsa::StartupResult started =
        vorsa::AvviaTill(till, vorsa::StartupHooks{&condivisioneAvvio});
    if (till.statoMultiVorsa == vorsa::StatoMultiVorsa::PrincipaleOk &&
        condividi() == vorsa::RoutingFileAccess::Sede::NonScrivibile) {
        // The other tills would reach a folder they cannot write: say who must be let in.
        till.statoMultiVorsa = vorsa::StatoMultiVorsa::PrincipaleSenzaCondivisione;
        till.condivisioneNonScrivibile = true;
    }

    // With no printer installed the printer reports so and nothing is ever printed.
    vorsa::QtPrintBackend printBackend;
    QCoreApplication::processEvents();
    QThread::msleep(200);
    vorsa::AppRoot root(till,
                        {printBackend, [] { return std::make_unique<vorsa::CupsStatoStampanti>(); },
                         *condivisione});
    root.Show();
    splash.close();
    // Answers after the window is up; a silent or broken server costs the operator nothing.
    vorsa::QtScaricatore scaricatore;
    vorsa::ControllaVersione controllo(till.store, *files, scaricatore,
                                       {version.major, version.minor, version.revision});
    if (started.controllaVersione) vorsa::AvviaControlloVersione(controllo, &root.Window());
    return app.exec();
}
