// Message and file-selection pop-ups.  Under the test driver they are
// recorded and answered instead of shown.
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
#include <cstdio>
#include <cstring>

#include "ui/UiCore.h"
#include "ui/UiDriverHooks.h"
#include "ui/UiResource.h"

using namespace uiimpl;

namespace {

QMessageBox::Icon iconFor(const QString& title)
{
    const QString t = title.trimmed().toUpper();
    if (t == QLatin1String("ERROR")) return QMessageBox::Critical;
    if (t == QLatin1String("WARNING")) return QMessageBox::Warning;
    return QMessageBox::Information;
}

// "*.cfg" and "*.c;*.h" become name filters; all files unless restricted.
QStringList filtersFor(const char* defaultPattern, const char* fileTypeList, bool restrictExtension)
{
    QStringList filters;
    const QString wanted = QString::fromUtf8(defaultPattern ? defaultPattern : "").trimmed();
    if (!wanted.isEmpty()) {
        QString name = wanted;
        if (wanted == QLatin1String("*.cfg")) name = QStringLiteral("Camera settings (*.cfg)");
        filters << name;
    }
    for (const QString& type :
         QString::fromUtf8(fileTypeList ? fileTypeList : "").split(u';', Qt::SkipEmptyParts))
        if (!filters.contains(type.trimmed())) filters << type.trimmed();
    if (!restrictExtension || filters.isEmpty()) filters << QStringLiteral("All files (*)");
    return filters;
}

}  // namespace

namespace {
bool s_unattended = false;
}  // namespace

void SetUnattendedMessages(bool on)
{
    s_unattended = on;
}

int MessagePopup(const char* title, const char* message)
{
    const QString t = QString::fromUtf8(title ? title : "");
    const QString text = QString::fromUtf8(message ? message : "");
    if (s_unattended) {
        // Nobody is there to press OK: the message goes where a script sees it.
        std::fprintf(stderr, "%s: %s\n", qPrintable(t), qPrintable(QString(text).replace('\n', ' ')));
        return UIENoError;
    }
    DriverState& driver = Driver();
    if (driver.recordPopups) {
        driver.popups.emplace_back(t.toStdString(), text.toStdString());
        return UIENoError;
    }
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return UIENoRunTime;
    QMessageBox box(iconFor(t), t, text, QMessageBox::Ok, FrontWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    return UIENoError;
}

namespace {

// A question nobody is there to answer on a screen: a run nobody watches
// takes "no" (said on stderr with its note), the test driver its queued
// answer or "no".  False when the question goes to the screen.
bool answerOffScreen(const QString& title, const QString& text, const char* note, int* answer)
{
    *answer = 0;
    if (s_unattended) {
        std::fprintf(stderr, "%s: %s%s\n", qPrintable(title), qPrintable(QString(text).replace('\n', ' ')),
                     note);
        return true;
    }
    DriverState& driver = Driver();
    if (driver.recordPopups) {
        driver.popups.emplace_back(title.toStdString(), text.toStdString());
        if (!driver.confirmAnswers.empty()) {
            *answer = driver.confirmAnswers.front() ? 1 : 0;
            driver.confirmAnswers.pop_front();
        }
        return true;
    }
    return !qobject_cast<QApplication*>(QCoreApplication::instance());
}

}  // namespace

int ActionMessagePopup(const char* title, const char* message, const char* actionLabel)
{
    const QString t = QString::fromUtf8(title ? title : "");
    const QString text = QString::fromUtf8(message ? message : "");
    int answer = 0;
    if (answerOffScreen(t, text, "", &answer)) return answer;
    QMessageBox box(iconFor(t), t, text, QMessageBox::Ok, FrontWindow());
    QPushButton* action = box.addButton(
        QString::fromStdString(uires::DisplayLabel(actionLabel ? actionLabel : "")), QMessageBox::ActionRole);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    return box.clickedButton() == action ? 1 : 0;
}

int OpenDocument(const char* path)
{
    const QString file = QString::fromUtf8(path ? path : "");
    if (file.isEmpty() || !QFileInfo::exists(file)) return UIEFileNotFound;
    DriverState& driver = Driver();
    if (driver.recordPopups) {
        driver.documents.push_back(file.toStdString());
        return UIENoError;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file)) ? UIENoError : UIENoRunTime;
}

int ConfirmPopup(const char* title, const char* message)
{
    const QString t = QString::fromUtf8(title ? title : "");
    const QString text = QString::fromUtf8(message ? message : "");
    int answer = 0;
    if (answerOffScreen(t, text, " (cancelled)", &answer)) return answer;
    QMessageBox box(QMessageBox::Warning, t, text, QMessageBox::Ok | QMessageBox::Cancel, FrontWindow());
    box.setDefaultButton(QMessageBox::Cancel);
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec() == QMessageBox::Ok ? 1 : 0;
}

int FileSelectPopup(const char* defaultDirectory, const char* defaultPattern, const char* fileTypeList,
                    const char* title, int buttonLabel, int restrictDirectory, int restrictExtension,
                    int allowCancel, int allowMakeDirectory, char* path, std::size_t size)
{
    if (!path || size == 0) return UIEBufferTooSmall;
    path[0] = '\0';
    const bool save = buttonLabel == VAL_SAVE_BUTTON;
    QString directory = QString::fromUtf8(defaultDirectory ? defaultDirectory : "");
    if (directory.isEmpty()) directory = QDir::currentPath();

    // A name typed without an extension gets the one of the pattern ("walk1"
    // is saved as "walk1.cfg"), so that the load dialog's "*.cfg" lists it.
    const QString pattern = QString::fromUtf8(defaultPattern ? defaultPattern : "");
    const QString suffix = save && pattern.startsWith(QLatin1String("*.")) && pattern.count(u'*') == 1
                               ? pattern.mid(2)
                               : QString();
    auto withSuffix = [&suffix](const QString& file) {
        return suffix.isEmpty() || !QFileInfo(file).suffix().isEmpty() ? file : file + u'.' + suffix;
    };

    QString chosen;
    DriverState& driver = Driver();
    if (driver.recordPopups || !driver.fileAnswers.empty()) {
        driver.fileDialogs.push_back(
            {directory.toStdString(), defaultPattern ? defaultPattern : "", title ? title : "", buttonLabel});
        if (driver.fileAnswers.empty() || !driver.fileAnswers.front()) {
            if (!driver.fileAnswers.empty()) driver.fileAnswers.pop_front();
            return VAL_NO_FILE_SELECTED;
        }
        chosen =
            withSuffix(QDir(directory).absoluteFilePath(QString::fromStdString(*driver.fileAnswers.front())));
        driver.fileAnswers.pop_front();
    } else {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return UIENoRunTime;
        QFileDialog dialog(FrontWindow(), QString::fromUtf8(title ? title : ""), directory);
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dialog.setNameFilters(filtersFor(defaultPattern, fileTypeList, restrictExtension));
        dialog.setOption(QFileDialog::ReadOnly, !allowMakeDirectory);
        // The dialog adds it itself, so that its question before replacing a
        // file is about the file that will be written.
        if (!suffix.isEmpty()) dialog.setDefaultSuffix(suffix);
        const char* accept = buttonLabel == VAL_LOAD_BUTTON     ? "&Load"
                             : buttonLabel == VAL_SELECT_BUTTON ? "&Select"
                             : save                             ? "&Save"
                                                                : "&OK";
        dialog.setLabelText(QFileDialog::Accept, QString::fromLatin1(accept));
        if (restrictDirectory) {
            const QString home = QDir(directory).absolutePath();
            QObject::connect(&dialog, &QFileDialog::directoryEntered, &dialog,
                             [&dialog, home](const QString& d) {
                                 if (QDir(d).absolutePath() != home) dialog.setDirectory(home);
                             });
        }
        // Without cancel the question is asked until a file is chosen.
        while (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            if (allowCancel) return VAL_NO_FILE_SELECTED;
        chosen = withSuffix(dialog.selectedFiles().constFirst());
    }

    const QByteArray bytes = QDir::toNativeSeparators(QFileInfo(chosen).absoluteFilePath()).toUtf8();
    if (static_cast<std::size_t>(bytes.size()) >= size) return UIEBufferTooSmall;
    std::memcpy(path, bytes.constData(), bytes.size() + 1);
    return QFileInfo::exists(chosen) ? VAL_EXISTING_FILE_SELECTED : VAL_NEW_FILE_SELECTED;
}
