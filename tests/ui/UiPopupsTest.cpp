// Message and file pop-ups: shown for real and dismissed, or recorded and
// answered by the test driver.
#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include "support/UiTestDriver.h"
#include "ui/Ui.h"

namespace {

class UiPopups : public ::testing::Test {
protected:
    void SetUp() override { uitest::Reset(); }
    void TearDown() override { uitest::Reset(); }

    // Runs `answer` on the modal dialog the code under test is waiting in.
    template <typename Dialog, typename Answer>
    static void whenShown(Answer answer)
    {
        QTimer::singleShot(0, [answer] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            answer(dialog);
        });
    }
};

TEST_F(UiPopups, AMessageWaitsForTheOperator)
{
    uitest::RecordPopups(false);
    bool dismissed = false;
    whenShown<QMessageBox>([&](QMessageBox* box) {
        EXPECT_EQ(box->windowTitle(), "ERROR");
        EXPECT_EQ(box->text(), "Failure querying camera for current settings.\nTimeout");
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        dismissed = true;
        box->accept();
    });
    EXPECT_EQ(MessagePopup("ERROR", "Failure querying camera for current settings.\nTimeout"), 0);
    EXPECT_TRUE(dismissed);

    whenShown<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        box->accept();
    });
    MessagePopup("WARNING", "No Camera Communication Link Found");
}

TEST_F(UiPopups, RecordedMessagesReturnAtOnceAndAnsweredFileDialogsGiveExistingOrNewFiles)
{
    MessagePopup("ERROR", "Camera returned error message NAK.");
    MessagePopup("Error", "Error on Load Set");
    EXPECT_EQ(uitest::Popups(), (std::vector<uitest::Popup>{{"ERROR", "Camera returned error message NAK."},
                                                            {"Error", "Error on Load Set"}}));

    QTemporaryDir dir;
    QFile existing(dir.filePath("old.cfg"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    const std::string base = dir.path().toStdString();

    char path[MAX_PATHNAME_LEN];
    auto select = [&path](const std::string& in, const char* title, int button) {
        return FileSelectPopup(in.c_str(), "*.cfg", "", title, button, 0, 0, 1, 1, path);
    };
    uitest::AnswerFileDialog("old.cfg");
    uitest::AnswerFileDialog("new.cfg");
    uitest::CancelFileDialog();
    EXPECT_EQ(select(base, "Load Camera Settings From File", VAL_LOAD_BUTTON), VAL_EXISTING_FILE_SELECTED);
    EXPECT_EQ(std::string(path), QDir::toNativeSeparators(dir.filePath("old.cfg")).toStdString());
    EXPECT_EQ(select(base, "Save Camera Settings to File", VAL_SAVE_BUTTON), VAL_NEW_FILE_SELECTED);
    EXPECT_EQ(select("", "t", VAL_LOAD_BUTTON), VAL_NO_FILE_SELECTED);
    EXPECT_STREQ(path, "");
    // Nothing queued while recording: cancelled rather than waiting.
    EXPECT_EQ(select("", "t", VAL_LOAD_BUTTON), VAL_NO_FILE_SELECTED);

    const auto asked = uitest::FileDialogs();
    ASSERT_EQ(asked.size(), 4u);
    EXPECT_EQ(asked[0].title, "Load Camera Settings From File");
    EXPECT_EQ(asked[0].pattern, "*.cfg");
    EXPECT_EQ(asked[0].directory, base);
    EXPECT_EQ(asked[1].buttonLabel, VAL_SAVE_BUTTON);
    EXPECT_EQ(asked[2].directory, QDir::currentPath().toStdString());

    // A name to write without an extension gets the pattern's; one with an
    // extension, or a name to read, is taken as it is.
    uitest::AnswerFileDialog("walk1");
    uitest::AnswerFileDialog("walk1.txt");
    uitest::AnswerFileDialog("old");
    select(base, "t", VAL_SAVE_BUTTON);
    EXPECT_EQ(QDir::fromNativeSeparators(path), dir.filePath("walk1.cfg"));
    select(base, "t", VAL_SAVE_BUTTON);
    EXPECT_EQ(QDir::fromNativeSeparators(path), dir.filePath("walk1.txt"));
    select(base, "t", VAL_LOAD_BUTTON);
    EXPECT_EQ(QDir::fromNativeSeparators(path), dir.filePath("old"));

    char tiny[4];
    uitest::AnswerFileDialog("old.cfg");
    EXPECT_EQ(FileSelectPopup(base.c_str(), "*.cfg", "", "t", VAL_LOAD_BUTTON, 0, 0, 1, 1, tiny),
              UIEBufferTooSmall);
}

TEST_F(UiPopups, TheRealFileDialogOffersTheSettingsFilesAndTheButtonAskedFor)
{
    uitest::RecordPopups(false);
    QTemporaryDir dir;
    QFile file(dir.filePath("camera.cfg"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    whenShown<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Load Camera Settings From File");
        EXPECT_EQ(dialog->labelText(QFileDialog::Accept), "&Load");
        EXPECT_TRUE(dialog->nameFilters().first().contains("*.cfg"));
        EXPECT_EQ(QDir(dialog->directory()).absolutePath(), QDir(dir.path()).absolutePath());
        dialog->selectFile(dir.filePath("camera.cfg"));
        static_cast<QDialog*>(dialog)->accept();  // as the Load button does
    });
    char path[MAX_PATHNAME_LEN];
    const QByteArray in = dir.path().toUtf8();
    auto select = [&](const char* title, int button) {
        return FileSelectPopup(in.constData(), "*.cfg", "", title, button, 0, 0, 1, 1, path);
    };
    EXPECT_EQ(select("Load Camera Settings From File", VAL_LOAD_BUTTON), VAL_EXISTING_FILE_SELECTED);
    EXPECT_EQ(QDir::fromNativeSeparators(path), dir.filePath("camera.cfg"));

    // The dialog itself adds the extension, so its question before replacing
    // a file is about the file that will be written.
    whenShown<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->defaultSuffix(), "cfg");
        dialog->reject();
    });
    select("Save", VAL_SAVE_BUTTON);

    whenShown<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_EQ(select("Save", VAL_SAVE_BUTTON), VAL_NO_FILE_SELECTED);
}

}  // namespace
