#include <memory>

#include <QDialog>
#include <QTest>
#include <QTimer>

#include "scan/event_waits.h"

using tunvell::RealEventWaits;

// The real waits, without timing: a broken early end shows as a hang, which
// the test's time limit turns into a failure.
class EventWaitsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void eventsRunWhileWaiting() {
        RealEventWaits waits;
        QDialog window;
        bool ran = false;
        QTimer::singleShot(0, &window, [&ran] { ran = true; });
        waits.Wait(20, window);
        QVERIFY(ran);
    }

    void aWaitEndsOnceItsWindowIsGone_data() {
        QTest::addColumn<bool>("destroy");
        QTest::newRow("closed") << false;
        QTest::newRow("destroyed") << true;
    }
    void aWaitEndsOnceItsWindowIsGone() {
        QFETCH(bool, destroy);
        RealEventWaits waits;
        auto window = std::make_unique<QDialog>();
        window->show();
        QTimer::singleShot(0, this, [&window, destroy] {
            if (destroy) {
                window.reset();
            } else {
                window->reject();
            }
        });
        waits.Wait(10 * 60 * 1000, *window);
        QCOMPARE(window == nullptr, destroy);
    }
};

QTEST_MAIN(EventWaitsTest)
#include "event_waits_test.moc"
