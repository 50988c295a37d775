#include "app/SingleInstance.h"

#include "FileSizeLimit.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>

namespace {

// Two real program processes sharing one runtime and config folder.
class TwoStarts : public testing::Test
{
protected:
    void SetUp() override
    {
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", m_dir.path());
        env.insert("XDG_CONFIG_HOME", m_dir.filePath("config"));
        env.insert("QT_LOGGING_RULES", "kalvex.trace.debug=true");
        env.remove("KALVEX_TEST_CAMERA");
        for (QProcess* p : { &m_first, &m_second }) {
            p->setProcessEnvironment(env);
            p->setProgram(QStringLiteral(KALVEX_EXECUTABLE));
        }
    }
    void TearDown() override
    {
        for (QProcess* p : { &m_first, &m_second }) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(3000);
            }
        }
    }
    QString SettingsPath() const { return m_dir.filePath("config/kalvex/Setting.ini"); }
    bool WaitForFirstReady()
    {
        return QTest::qWaitFor(
                [this] { return QFile::exists(m_dir.filePath("kalvex-instance.socket")); }, 15000);
    }

    QTemporaryDir m_dir;
    QProcess m_first;
    QProcess m_second;
};

} // namespace

TEST_F(TwoStarts, SecondStartWakesTheFirstAndEnds)
{
    m_first.start();
    ASSERT_TRUE(WaitForFirstReady());

    m_second.start();
    ASSERT_TRUE(m_second.waitForFinished(10000));
    EXPECT_EQ(m_second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_second.exitCode(), 0);
    EXPECT_FALSE(QFile::exists(SettingsPath())) << "the second start must not write settings";

    EXPECT_TRUE(QTest::qWaitFor(
            [this] {
                return m_first.readAllStandardError().contains("wake-up from a second start");
            },
            5000));
    EXPECT_EQ(m_first.state(), QProcess::Running);
}

TEST_F(TwoStarts, TerminationSignalWritesCompleteSettings)
{
    m_first.start();
    ASSERT_TRUE(WaitForFirstReady());
    ::kill(static_cast<pid_t>(m_first.processId()), SIGTERM);
    ASSERT_TRUE(m_first.waitForFinished(10000));
    EXPECT_EQ(m_first.exitStatus(), QProcess::NormalExit);

    QFile file(SettingsPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    for (const char* needle : { "[GENERAL]", "m_strDeviceName=", "[COLORSETTING]",
                 "ScalePos=", "[CALIBRATION]", "top_9=", "[CROSSLINE]", "Count=0" })
        EXPECT_TRUE(text.contains(needle)) << needle;
}

TEST_F(TwoStarts, TerminationOntoAFullDiskKeepsTheSettingsAndSaysWhyOnStandardError)
{
    QByteArray content("[GENERAL]\nm_nDisp=2\n[CALIBRATION]\ncurSel=1\n");
    for (int n = 0; n < 10; ++n)
        content += "xlen_" + QByteArray::number(n) + "=12.500000\n";
    ASSERT_TRUE(QDir().mkpath(QFileInfo(SettingsPath()).path()));
    {
        QFile file(SettingsPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    // Room for the instance lock, none for a whole settings file.
    m_first.setChildProcessModifier([] {
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 512;
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    m_first.start();
    ASSERT_TRUE(WaitForFirstReady());
    ::kill(static_cast<pid_t>(m_first.processId()), SIGTERM);
    ASSERT_TRUE(m_first.waitForFinished(10000));
    const QByteArray errors = m_first.readAllStandardError();
    EXPECT_TRUE(errors.contains("Setting.ini")) << errors.toStdString();
    EXPECT_TRUE(errors.contains("File too large")) << errors.toStdString();
    QFile file(SettingsPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), content);
}

TEST_F(TwoStarts, AnEmptyLockWithNobodyBehindItDoesNotStopTheStart)
{
    QFile lock(m_dir.filePath("kalvex-instance.lock"));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.close();
    m_first.start();
    ASSERT_TRUE(WaitForFirstReady()) << m_first.readAllStandardError().toStdString();
    EXPECT_EQ(m_first.state(), QProcess::Running);
}

namespace {

void WriteLock(const QString& folder, const QByteArray& content)
{
    QFile lock(folder + "/kalvex-instance.lock");
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(content);
}

} // namespace

TEST(SingleInstance_Lock, ALockWithoutReadableContentIsTakenOver)
{
    for (const QByteArray& content :
            { QByteArray(), QByteArray("garbage\nmore garbage\n"), QByteArray("\0\x01\xff", 3) }) {
        QTemporaryDir dir;
        WriteLock(dir.path(), content);
        CSingleInstance instance(dir.path());
        EXPECT_TRUE(instance.Acquire()) << content.toHex().toStdString();
        EXPECT_TRUE(instance.Problem().isEmpty()) << instance.Problem().toStdString();
        EXPECT_TRUE(QFile::exists(dir.filePath("kalvex-instance.socket")));
    }
}

TEST(SingleInstance_Lock, ALiveOwnerKeepsItsLock)
{
    QTemporaryDir dir;
    CSingleInstance first(dir.path());
    ASSERT_TRUE(first.Acquire());
    CSingleInstance second(dir.path());
    EXPECT_FALSE(second.Acquire());
    EXPECT_TRUE(second.Problem().isEmpty()) << second.Problem().toStdString();
}

TEST(SingleInstance_Lock, WithoutAnyLockTheProgramStillStartsAndSaysWhy)
{
    QTemporaryDir dir;
    const QString notAFolder = dir.filePath("runtime");
    {
        QFile file(notAFolder);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    CSingleInstance unmade(notAFolder);
    EXPECT_TRUE(unmade.Acquire());
    EXPECT_TRUE(unmade.Problem().contains("kalvex-instance.lock"))
            << unmade.Problem().toStdString();
    EXPECT_TRUE(unmade.Problem().contains("Not a directory")) << unmade.Problem().toStdString();

    QTemporaryDir fullDir;
    CSingleInstance full(fullDir.path());
    bool started = false;
    {
        const CFileSizeLimit limit(0);
        ASSERT_TRUE(limit.Active());
        started = full.Acquire();
    }
    EXPECT_TRUE(started);
    EXPECT_TRUE(full.Problem().contains("File too large")) << full.Problem().toStdString();
}

TEST(SingleInstance_Requests, AReceiverThatWaitsOnAMessageBoxGetsEveryPathInTurn)
{
    // The receiver runs an event loop the way a message box does, long enough for the
    // sender's hang-up to arrive and its socket to be deleted.
    QTemporaryDir dir;
    CSingleInstance first(dir.path());
    ASSERT_TRUE(first.Acquire());
    QStringList received;
    int depth = 0;
    int deepest = 0;
    QObject::connect(&first, &CSingleInstance::openRequested, [&](const QString& path) {
        deepest = std::max(deepest, ++depth);
        received << path;
        QEventLoop box;
        QTimer::singleShot(300, &box, &QEventLoop::quit);
        box.exec();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        --depth;
    });
    CSingleInstance second(dir.path());
    const QStringList files = { dir.filePath("missing.png"), dir.filePath("x.png") };
    ASSERT_FALSE(second.Acquire(files));
    EXPECT_TRUE(QTest::qWaitFor([&] { return received.size() == 2 && depth == 0; }, 5000));
    EXPECT_EQ(received, files);
    EXPECT_EQ(deepest, 1) << "a path was handed over inside the handling of another";
}
