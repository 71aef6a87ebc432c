#include "app/recording_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <fstream>

#include "image/file_io.h"
#include "picture/picture_files.h"
#include "script/recorder.h"
#include "script/render_script.h"

namespace nelmora {

namespace {

constexpr int64_t kCommandsPerProgressStep = 64;
constexpr int kProgressSteps = 1000;

QString fromLocal(const std::string& text) { return QFile::decodeName(QByteArray::fromStdString(text)); }

}  // namespace

QString saveRecording(const Recorder& recording, const QString& path)
{
    if (!recording.complete()) return QStringLiteral("開いた画像の一つを記録に残せませんでした。");
    const QFileInfo target(path);
    const QDir folder = target.absoluteDir();
    std::vector<std::string> names;
    for (size_t i = 0; i < recording.keptPictures().size(); ++i) {
        const QString name = target.completeBaseName() + QStringLiteral("-%1.png").arg(i + 1);
        const QString copy = folder.filePath(name);
        QFile::remove(copy);
        if (!QFile::copy(fromLocal(recording.keptPictures()[i]), copy))
            return QStringLiteral("%1 に書き込めませんでした。").arg(copy);
        names.push_back(QFile::encodeName(name).toStdString());
    }
    const std::string script = recording.script([&names](size_t i) { return names[i]; });
    AtomicFileWriter file;
    std::string error;
    if (!file.open(QFile::encodeName(path).toStdString(), &error) ||
        !file.write(reinterpret_cast<const uint8_t*>(script.data()), script.size(), &error) || !file.commit(&error))
        return fromLocal(error);
    return {};
}

QString replayRecording(Workspace& workspace, CanvasStroke& canvas, const QString& path, QWidget* owner)
{
    const std::string localPath = QFile::encodeName(path).toStdString();
    if (QFileInfo(path).isDir()) return QStringLiteral("%1 はフォルダです。").arg(path);
    std::ifstream file(localPath, std::ios::binary);
    if (!file) return QStringLiteral("%1 を読めませんでした。").arg(path);
    const double size = double(std::max<qint64>(QFileInfo(path).size(), 1));

    QProgressDialog progress(QStringLiteral("記録を再生しています…"), QStringLiteral("キャンセル"), 0, kProgressSteps, owner);
    progress.setWindowTitle(QStringLiteral("記録を再生"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(500);
    workspace.reset();
    ScriptRunner runner(workspace, canvas,
                        {QFile::encodeName(QFileInfo(path).absolutePath()).toStdString(),
                         [](const std::string& picture, std::string* error) { return readPicture(picture, error); }});
    std::string error;
    const bool finished = runner.run(file, error, [&](int64_t done) {
        if (done % kCommandsPerProgressStep != 0) return true;
        const std::streamoff at = file.tellg();
        if (at >= 0) progress.setValue(int(double(at) / size * kProgressSteps));
        return !progress.wasCanceled();
    });
    progress.reset();
    return finished ? QString() : fromLocal(error);
}

}  // namespace nelmora
