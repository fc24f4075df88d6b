// The till's entry point: one instance per program folder, splash, the outside world, start-up,
// then the window from AppRoot.
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QThread>
#include <csignal>
#include <optional>
#include <string>

#include "app/app_root.h"
#include "platform/file_access.h"
#include "platform/qt/qt_downloader.h"
#include "platform/qt/qt_shell.h"
#include "platform/smb_file_access.h"
#include "platform/system.h"
#include "platform/text.h"
#include "platform/till_share.h"
#include "printing/qt/cups_printer_states.h"
#include "printing/qt/qt_print_backend.h"
#include "sale/till.h"
#include "startup/startup.h"
#include "startup/startup_share.h"
#include "ui/frm_splash.h"
#include "ui/frm_vorsa.h"
#include "ui/notices/version_notice.h"
#include "ui/widgets/qt_translations.h"

namespace {

int signalPipe[2] = {-1, -1};

/// A shutdown or logout sends SIGTERM: the window closes as if the operator closed it, so the
/// till unloads and leaves its files and lock entries as a normal close does.
void CloseOnSignals(QWidget& window) {
    if (::pipe(signalPipe) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window, notifier] {
        char c;
        if (::read(signalPipe[0], &c, 1) == 1) window.close();
        notifier->setEnabled(false);
    });
    struct sigaction sa {};
    sa.sa_handler = [](int) {
        const char c = 1;
        [[maybe_unused]] const auto n = ::write(signalPipe[1], &c, 1);  // async-signal-safe
    };
    sigemptyset(&sa.sa_mask);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
}

/// The program folder, made when missing; nullopt once the operator is told it cannot be.
std::optional<std::string> ProgramFolder() {
    const QByteArray scelta = qgetenv("VORSA_CARTELLA");
    const std::string cartella =
        vorsa::CartellaProgramma(QCoreApplication::applicationDirPath().toStdString(),
                                 qgetenv("HOME").toStdString(), scelta.toStdString());
    if (!QDir().mkpath(QString::fromStdString(cartella))) {
        QMessageBox::critical(nullptr, QStringLiteral("Vorsa"),
                              QStringLiteral("Impossibile creare la cartella del programma:\n%1")
                                  .arg(QString::fromStdString(cartella)));
        return std::nullopt;
    }
    return vorsa::Utf8ToCp1252(cartella);
}

/// The outside world the till runs on. A secondary till's data file lives on the main till's
/// share: network paths go through libsmbclient, everything else to the local files.
/// Multi-till: Samba user shares (VORSA_SMB_CONF/VORSA_SMB_PORT name a private smbd), and the
/// data files reached on the same port.
struct Outside {
    explicit Outside(std::string programFolder)
        : folder(std::move(programFolder)),
          samba(vorsa::SambaConfigFromEnvironment()),
          smbFiles(vorsa::MakeSmbFileAccess(*sleeper, SmbOptionsFor(samba))),
          commands(vorsa::MakeCommandRunner()),
          tillShare(vorsa::MakeSambaTillShare(
              *commands, *user,
              // The share is checked through libsmbclient, with the tills' account when it has
              // a password.
              [this](const std::string& path) { return smbFiles->Exists(path); }, samba)),
          startupShare(*tillShare, *smbFiles) {}

    static vorsa::SmbOptions SmbOptionsFor(const vorsa::SambaConfig& config) {
        vorsa::SmbOptions o;
        o.port = config.port;
        return o;
    }
    /// A main till writes its shared files through its own share too, so its writes and the
    /// secondary tills' ones take the same whole-file lock on the file server: from the start
    /// when the share already serves this folder, else as soon as start-up has shared it.
    vorsa::RoutingFileAccess::Location Share() {
        return routedFiles.AliasFolderIfShared(folder, "//127.0.0.1/vorsa$",
                                               {"Vorsa.ini", "Vorsa.ini.lck"});
    }
    vorsa::Services TillServices() { return {routedFiles, *clock, *sleeper, *user, shell}; }

    const std::string folder;
    const std::unique_ptr<vorsa::Clock> clock = vorsa::MakeSystemClock();
    const std::unique_ptr<vorsa::Sleeper> sleeper = vorsa::MakeSystemSleeper();
    const vorsa::SambaConfig samba;
    const std::unique_ptr<vorsa::FileAccess> localFiles = vorsa::MakeLocalFileAccess();
    const std::unique_ptr<vorsa::SmbFileAccess> smbFiles;
    vorsa::RoutingFileAccess routedFiles{*localFiles, *smbFiles};
    const std::unique_ptr<vorsa::UserInfo> user = vorsa::MakeSystemUserInfo();
    vorsa::QtShell shell;
    const std::unique_ptr<vorsa::CommandRunner> commands;
    const std::unique_ptr<vorsa::TillShare> tillShare;
    vorsa::StartupShare startupShare;
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    vorsa::InstallaTraduzioniQt(app);

    // A second till in the same folder leaves without a trace: nothing read, written or shown.
    const std::optional<std::string> folder = ProgramFolder();
    if (!folder) return 1;
    const std::unique_ptr<vorsa::InstanceGuard> guard = vorsa::InstanceGuard::Acquire(*folder);
    if (!guard) return 0;

    vorsa::FrmSplash splash;
    splash.show();
    QCoreApplication::processEvents();

    Outside outside(*folder);
    const vorsa::Version version{VORSA_VERSION_MAJOR, VORSA_VERSION_MINOR, VORSA_VERSION_PATCH};
    outside.Share();
    vorsa::Till till(outside.TillServices(), *folder, version);
    const vorsa::StartupResult started =
        vorsa::AvviaTill(till, vorsa::StartupHooks{&outside.startupShare});
    if (till.statoMultiVorsa == vorsa::MultiTillState::PrincipaleOk &&
        outside.Share() == vorsa::RoutingFileAccess::Location::NonScrivibile) {
        // The other tills would reach a folder they cannot write: say who must be let in.
        till.statoMultiVorsa = vorsa::MultiTillState::PrincipaleSenzaCondivisione;
        till.condivisioneNonScrivibile = true;
    }

    // With no printer installed the printer reports so and nothing is ever printed.
    vorsa::QtPrintBackend printBackend;
    QCoreApplication::processEvents();
    QThread::msleep(200);
    vorsa::AppRoot root(till,
                        {printBackend, [] { return std::make_unique<vorsa::CupsPrinterStates>(); },
                         *outside.tillShare});
    root.Show();
    CloseOnSignals(root.Window());
    splash.close();
    // Answers after the window is up; a silent or broken server costs the operator nothing.
    vorsa::QtDownloader scaricatore;
    vorsa::ControllaVersione controllo(till.store, outside.routedFiles, scaricatore,
                                       {version.major, version.minor, version.revision});
    if (started.controllaVersione) vorsa::AvviaControlloVersione(controllo, &root.Window());
    return app.exec();
}
