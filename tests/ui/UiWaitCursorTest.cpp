// The busy cursor the camera link asks for while it waits for a reply.
#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>

#include "platform/WaitCursor.h"
#include "ui/Ui.h"

namespace {

TEST(UiWaitCursor, ShownOnceTheRunTimeInstalledItsHookAndNeverStacked)
{
    SetWaitCursorHook(nullptr);
    SetWaitCursor(1);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);  // platform alone shows nothing
    SetWaitCursor(0);

    ASSERT_EQ(InitRunTime(nullptr, nullptr, 0), 1);
    SetWaitCursor(1);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    SetWaitCursor(0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // Nested transactions ask again while the cursor is up; one restore must still
    // bring the normal cursor back, and a restore too many must not pop anything.
    SetWaitCursor(1);
    SetWaitCursor(1);
    SetWaitCursor(0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));  // someone else's
    SetWaitCursor(0);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QGuiApplication::restoreOverrideCursor();
}

}  // namespace
