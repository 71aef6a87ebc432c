// The program: the main frame over the Qt event loop.
#include <QApplication>
#include <QFile>
#include <cstdio>

#include "app/command_line.h"
#include "app/main_frame.h"
#include "app/window_settings.h"
#include "platform/app_identity.h"
#include "platform/program_settings.h"
#include "platform/qt_translation.h"
#include "platform/ui_font.h"

namespace {

std::vector<std::string> argumentsOf(const QStringList& arguments)
{
    std::vector<std::string> args;
    for (qsizetype i = 1; i < arguments.size(); ++i) args.push_back(QFile::encodeName(arguments[i]).toStdString());
    return args;
}

}  // namespace

int main(int argc, char** argv)
{
    // --help and --version are answered before Qt starts, so they need no display.
    const nelmora::CommandLine early = nelmora::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (early.action == nelmora::CommandLine::help) return std::fputs(nelmora::commandLineUsage().c_str(), stdout) < 0;
    if (early.action == nelmora::CommandLine::version) return std::fputs(nelmora::versionText().c_str(), stdout) < 0;

    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QString::fromLatin1(nelmora::kAppShortName));
    QCoreApplication::setApplicationName(QString::fromLatin1(nelmora::kAppShortName));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(nelmora::kAppId));
    // Qt has taken its own options (-platform, -style...) out by now.
    const nelmora::CommandLine line = nelmora::parseCommandLine(argumentsOf(QCoreApplication::arguments()));
    if (line.action == nelmora::CommandLine::error) {
        std::fprintf(stderr, "nelmora: %s\n%s", line.problem.c_str(), nelmora::commandLineUsage().c_str());
        return 2;
    }
    nelmora::installFontSubstitutions();
    nelmora::installQtJapanese();
    if (line.resetSettings) nelmora::resetProgramSettings();
    nelmora::MainFrame frame(nelmora::engineStrokeOps(), line.undoBudget);
    if (!frame.started()) {
        std::fputs("nelmora: not enough memory to start\n", stderr);
        return 1;
    }
    nelmora::restoreWindowSettings(frame);
    frame.show();
    if (!line.file.empty()) frame.openPicture(QFile::decodeName(line.file.c_str()));
    return app.exec();
}
