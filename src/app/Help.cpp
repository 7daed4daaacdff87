#include "app/Help.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QtGlobal>

#include "platform/Version.h"
#include "ui/Ui.h"

#ifndef ICCD_BUILD_TREE
#error "ICCD_BUILD_TREE comes from CMake"
#endif

namespace {

constexpr char kGuideName[] = "USER_GUIDE.html";

void MMnu_UserGuideCallback(int, int, void*, int)
{
    const std::string path = UserGuidePath();
    if (path.empty()) {
        std::string message = "The user guide (";
        message += kGuideName;
        message += ") is not installed beside the program.";
        MessagePopup("ERROR", message.c_str());
        return;
    }
    if (OpenDocument(path.c_str()) != 0) {
        std::string message = "The desktop has no program to show the user guide.\n";
        message += path;
        MessagePopup("ERROR", message.c_str());
    }
}

void MMnu_AboutCallback(int, int, void*, int)
{
    MessagePopup("About Ulvo ICCD Camera Control", AboutText().c_str());
}

}  // namespace

std::string UserGuidePath()
{
    const QDir bin(QCoreApplication::applicationDirPath());
    const QString candidates[] = {bin.filePath(QStringLiteral("../share/doc/ulvo-iccd-control/")),
                                  QStringLiteral(ICCD_BUILD_TREE "/doc/")};
    for (const QString& dir : candidates) {
        const QFileInfo guide(dir + QLatin1String(kGuideName));
        if (guide.isFile()) return QDir::cleanPath(guide.absoluteFilePath()).toStdString();
    }
    return {};
}

std::string AboutText()
{
    std::string text = "Ulvo ICCD Camera Control\nVersion ";
    text += ProgramVersion();
    text += "\n\nSets up an intensified-CCD camera over its serial line.\n";
    text += ProgramLicence();
    text += "\n\nBuilt with Qt " QT_VERSION_STR ", running on Qt ";
    text += qVersion();
    text += ".\nQt is used under the GNU Lesser General Public License, version 3.";
    return text;
}

void RegisterHelpCallbacks()
{
    RegisterUiCallback("MMnu_UserGuideCallback", MMnu_UserGuideCallback);
    RegisterUiCallback("MMnu_AboutCallback", MMnu_AboutCallback);
}
