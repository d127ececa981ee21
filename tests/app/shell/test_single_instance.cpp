#include <QtTest>

#include <QProcess>

#include <signal.h>

#include "app/single_instance.h"

using namespace tunvell;

namespace {

// Starts the probe and returns its first line.
QString StartProbe(QProcess& probe) {
    probe.start(QStringLiteral(INSTANCE_PROBE), {});
    if (!probe.waitForStarted(10000) || !probe.waitForReadyRead(10000)) {
        return QStringLiteral("no answer");
    }
    return QString::fromUtf8(probe.readLine()).trimmed();
}

}  // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void secondProcessFindsTheFirst();
    void markerOfAKilledProcessDoesNotLockTheUserOut();
    void markerIsNamedAfterTheInstanceName();
};

void SingleInstanceTest::secondProcessFindsTheFirst() {
    QProcess first;
    QCOMPARE(StartProbe(first), u"acquired"_qs);
    QProcess second;
    QCOMPARE(StartProbe(second), u"running"_qs);
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();
}

void SingleInstanceTest::markerOfAKilledProcessDoesNotLockTheUserOut() {
    QProcess first;
    QCOMPARE(StartProbe(first), u"acquired"_qs);
    ::kill(static_cast<pid_t>(first.processId()), SIGKILL);
    QVERIFY(first.waitForFinished(10000));

    QProcess next;
    QCOMPARE(StartProbe(next), u"acquired"_qs);
    next.kill();
    next.waitForFinished();
}

void SingleInstanceTest::markerIsNamedAfterTheInstanceName() {
    QVERIFY(SingleInstanceGuard::MarkerPath(INSTANCE_MARKER_NAME).contains(u"禁止多次运行"_qs));
}

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "test_single_instance.moc"
