// A fresh desktop program for each test: its own working directory (where
// "ICCD.ini" lives), every port mapped to nothing unless the test puts a
// simulated camera there, pop-ups recorded instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "app/App.h"
#include "sim/SimCamera.h"
#include "ui/Ui.h"

class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// A simulated camera of the model on the port.
    void putCamera(int port, const char* model);
    sim::SimCamera& camera(int port);

    /// Writes "ICCD.ini" with the default preferences but this port.
    void writeIni(int port, int setNo = 1);
    /// The file's text, "" when missing.
    std::string iniText() const;
    /// The file's lines without their CR LF.
    std::vector<std::string> iniLines() const;

    /// Starts the program with these arguments after the program name; the
    /// single-instance check is off.
    AppStartResult start(std::initializer_list<const char*> args = {});
    /// A simulated camera of the model on port 1, the program started on it,
    /// and the camera's log cleared.
    void startOn(const char* model, std::initializer_list<const char*> args = {});
    /// Ends the event loop's run (a quit must have been asked for) and shuts down.
    void stop();
    /// Asks for the quit, then stop().
    void quit()
    {
        QuitUserInterface(0);
        stop();
    }

    /// Chooses the main menu's item; the pop-up then on top, 0 for none.
    static int choose(int item);

    /// Runs the event loop for a moment.
    static void pump();

    std::string path(const char* name) const;

    std::unique_ptr<QTemporaryDir> dir_;
    QString oldDir_;
    bool started_ = false;
};

/// The constant name of a loaded panel ("PREF"), "" for none.
std::string PanelName(int panel);

/// 1 when the control is dimmed, 0 when not, -1 on failure.
int Dimmed(int panel, int control);
/// 1 when the control is shown, 0 when not, -1 on failure.
int Visible(int panel, int control);
/// A control's number or text (0 or "" on failure).
int CtrlInt(int panel, int control);
std::string CtrlText(int panel, int control);
/// Why the control holds no value; "" when it holds one.
std::string NoValue(int panel, int control);

/// The main window's title and status line.
std::string MainTitle();
std::string MainStatus();

/// The main menu bar's item: whether it exists, 1 when dimmed (-1 when absent).
bool MenuItemPresent(int item);
int MenuDimmed(int item);

/// 1 when the port is open.
bool PortOpen(int port);

/// Command lines a camera received that begin with prefix.
int CountSent(const std::vector<std::string>& log, const std::string& prefix);
