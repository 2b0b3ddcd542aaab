// The editor: finds its program folder, runs the start-up sequence and the event loop.
#include "app/data_folder.h"
#include "platform/message_boxes.h"
#include "window/arayuz_kalip.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>

namespace {

// The executable's folder when it is writable (a portable install), otherwise, and always
// for an installed program, the per-user application data folder.
std::filesystem::path programFolder() {
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (auto installed = zerkavi::installedDataFolder(exeDir.toStdString())) return *installed;
    if (QFileInfo(exeDir).isWritable()) return exeDir.toStdString();
    QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return data.toStdString();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zerkavi"));
    zerkavi::ModalMessageBoxes messages;
    int rc = 0;
    {
        zerkavi::ArayüzKalıp window(programFolder(), messages);
        messages.setParent(&window);
        if (window.startUp()) {
            window.show();
            rc = QApplication::exec();
        }
        window.shutDown();
    }
    // Ending here avoids a race between the sound server's library threads and static
    // destructors at process exit.
    std::fflush(nullptr);
    std::_Exit(rc);
}
