// The single-instance rule inside one process: the lock decides who runs, the
// socket carries the request to come to the front. Later starts are played by
// a thread with its own CSingleInstance, as they block while they wait.
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QWidget>
#include <future>
#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/support/TempHome.h"
#include "tests/support_qt/QtTestApp.h"
#include "tests/ui_options/RuntimeDir.h"
#include "ui/SingleInstance.h"

namespace {

QString UniqueName()
{
    static int s_nCount = 0;
    return QString("kestrune-test-%1-%2").arg(::getpid()).arg(++s_nCount);
}

// A later start asking from another thread while this one handles events.
bool ActivateFromOtherStart(const QString& strName, int nTimeoutMs)
{
    std::future<bool> result = std::async(std::launch::async, [strName, nTimeoutMs] {
        CSingleInstance later(strName);
        return later.ActivateRunningInstance(nTimeoutMs);
    });
    PumpEventsUntil([&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
                    nTimeoutMs + 10000);
    return result.get();
}

class SingleInstanceTest : public testing::Test
{
protected:
    SingleInstanceTest() { TestApplication(); }

    CTempHome m_home;
    CTempRuntimeDir m_runtime{m_home.Path()};
    const QString m_strName = UniqueName();
};

TEST_F(SingleInstanceTest, OneHolderPerNameUntilItEnds)
{
    auto pFirst = std::make_unique<CSingleInstance>(m_strName);
    CSingleInstance second(m_strName);
    CSingleInstance otherName(UniqueName());
    EXPECT_TRUE(pFirst->Acquire());
    EXPECT_FALSE(second.Acquire());
    EXPECT_TRUE(otherName.Acquire());
    EXPECT_TRUE(pFirst->BasePath().startsWith(QString::fromStdString(m_runtime.Path().string()) + "/"));
    EXPECT_TRUE(pFirst->BasePath().contains(m_strName));

    pFirst.reset();
    EXPECT_TRUE(second.Acquire());
}

TEST_F(SingleInstanceTest, LaterStartRestoresMinimisedWindowAndEnds)
{
    QWidget window;
    window.show();
    window.showMinimized();
    ASSERT_TRUE(window.isMinimized());

    CSingleInstance holder(m_strName);
    ASSERT_TRUE(holder.Acquire());
    int nActivations = 0;
    ASSERT_TRUE(holder.Listen([&] {
        ++nActivations;
        BringWindowToFront(&window);
    }));

    EXPECT_TRUE(ActivateFromOtherStart(m_strName, 5000));
    EXPECT_EQ(nActivations, 1);
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(window.isVisible());

    EXPECT_TRUE(ActivateFromOtherStart(m_strName, 5000));
    EXPECT_EQ(nActivations, 2);
}

TEST_F(SingleInstanceTest, ModalWindowIsBroughtToFrontOverMainWindow)
{
    QWidget window;
    window.show();
    QDialog modal(&window);
    modal.setWindowModality(Qt::ApplicationModal);
    modal.show();
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(PumpEventsUntil([&] { return QApplication::activeWindow() == &other; }, 2000));

    CSingleInstance holder(m_strName);
    ASSERT_TRUE(holder.Acquire());
    ASSERT_TRUE(holder.Listen([&] { BringWindowToFront(&window); }));
    EXPECT_TRUE(ActivateFromOtherStart(m_strName, 5000));
    EXPECT_TRUE(PumpEventsUntil([&] { return QApplication::activeWindow() == &modal; }, 5000));
}

TEST_F(SingleInstanceTest, NobodyAnswersWithoutARunningInstance)
{
    EXPECT_FALSE(ActivateFromOtherStart(m_strName, 300));

    // Holding the name but not yet listening: still starting.
    CSingleInstance holder(m_strName);
    ASSERT_TRUE(holder.Acquire());
    EXPECT_FALSE(ActivateFromOtherStart(m_strName, 300));
}

TEST_F(SingleInstanceTest, LaterStartWaitsForInstanceStillStarting)
{
    CSingleInstance holder(m_strName);
    ASSERT_TRUE(holder.Acquire());
    std::future<bool> result = std::async(std::launch::async, [this] {
        CSingleInstance later(m_strName);
        return later.ActivateRunningInstance(10000);
    });
    PumpEventsFor(300);
    int nActivations = 0;
    ASSERT_TRUE(holder.Listen([&] { ++nActivations; }));
    PumpEventsUntil([&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 20000);
    EXPECT_TRUE(result.get());
    EXPECT_EQ(nActivations, 1);
}

TEST_F(SingleInstanceTest, SocketLeftByEndedInstanceIsReplaced)
{
    CSingleInstance holder(m_strName);
    ASSERT_TRUE(holder.Acquire());
    QFile leftover(holder.BasePath() + ".socket");
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();

    int nActivations = 0;
    ASSERT_TRUE(holder.Listen([&] { ++nActivations; }));
    EXPECT_TRUE(ActivateFromOtherStart(m_strName, 5000));
    EXPECT_EQ(nActivations, 1);
}

TEST_F(SingleInstanceTest, ListenNeedsTheLock)
{
    CSingleInstance holder(m_strName);
    ASSERT_TRUE(holder.Acquire());
    CSingleInstance second(m_strName);
    EXPECT_FALSE(second.Acquire());
    EXPECT_FALSE(second.Listen([] {}));
}

}  // namespace
