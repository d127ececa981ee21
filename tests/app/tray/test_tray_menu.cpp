#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include "app/tray_menu.h"
#include "tests/fakes/main_window_fixture.h"

namespace tunvell {

namespace {

const QStringList SONGS = {QStringLiteral("/songs/a.mp3"), QStringLiteral("/songs/b.mp3"),
                           QStringLiteral("/songs/c.mp3")};

// Runs `open` and closes the modal window it opens; gives that window's class,
// or "" when none opened.
QString CloseModalOpenedBy(const std::function<void()>& open) {
    QString opened;
    QTimer::singleShot(0, [&opened] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = QString::fromLatin1(modal->metaObject()->className());
            modal->close();
        }
    });
    open();
    QCoreApplication::processEvents();
    return opened;
}

bool Logged(const testing::FakeAudioOutput& audio, const QString& call) {
    const std::string wanted = call.toStdString();
    return std::find(audio.calls.begin(), audio.calls.end(), wanted) != audio.calls.end();
}

}  // namespace

class TestTrayMenu : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fileMenuIsHiddenWithTenEntries();
    void menuEntry_data();
    void menuEntry();

    void trayEventTypes_data();
    void trayEventTypes();
    void leftReleaseTogglesTheWindow();
    void leftReleaseBringsBackAMinimisedWindow();
    void doubleClickChangesNothing();
    void contextPopsUpTheMenuBesideThePointer_data();
    void contextPopsUpTheMenuBesideThePointer();
    void destroyedWindowStaysGone();
    void withoutATrayMinimisingKeepsTheWindowOnScreen();
};

void TestTrayMenu::fileMenuIsHiddenWithTenEntries() {
    testing::MainWindowFixture fixture;
    fixture.Window().show();
    QMenu& menu = fixture.Window().Tray().FileMenu();
    QCOMPARE(menu.title(), QStringLiteral("文件"));
    QCOMPARE(menu.actions().size(), 10);
    QVERIFY(!menu.isVisible());
    QVERIFY(fixture.Window().findChildren<QMenuBar*>().isEmpty());
}

void TestTrayMenu::menuEntry_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("text");
    // What triggering it must do: "separator", "opens <class>", "starts <path>"
    // (with b.mp3 of a, b, c selected) or "exits".
    QTest::addColumn<QString>("effect");

    const auto row = [](int position, const QString& text, const QString& effect) {
        QTest::addRow("%d %s", position, qPrintable(text.isEmpty() ? effect : text))
            << position << text << effect;
    };
    row(0, QStringLiteral("扫描文件"), QStringLiteral("opens tunvell::ScanWindow"));
    row(1, QStringLiteral("播放设置"), QStringLiteral("opens tunvell::SettingsWindow"));
    row(2, QString(), QStringLiteral("separator"));
    row(3, QStringLiteral("上一曲"), QStringLiteral("starts /songs/a.mp3"));
    row(4, QStringLiteral("播放(暂停)"), QStringLiteral("starts /songs/b.mp3"));
    row(5, QStringLiteral("下一曲"), QStringLiteral("starts /songs/c.mp3"));
    row(6, QString(), QStringLiteral("separator"));
    row(7, QStringLiteral("关于"), QStringLiteral("opens tunvell::AboutWindow"));
    row(8, QString(), QStringLiteral("separator"));
    row(9, QStringLiteral("退出"), QStringLiteral("exits"));
}

void TestTrayMenu::menuEntry() {
    QFETCH(int, position);
    QFETCH(QString, text);
    QFETCH(QString, effect);
    testing::MainWindowFixture fixture;
    for (const QString& song : SONGS) {
        fixture.audio.AddFile(song);
        fixture.AddListItems({QStringLiteral("临时 ") + song});
    }
    fixture.Controls().列表框歌曲->setCurrentRow(1);
    QAction* action = fixture.Window().Tray().FileMenu().actions().value(position);
    QVERIFY(action != nullptr);

    QCOMPARE(action->isSeparator(), effect == QLatin1String("separator"));
    QCOMPARE(action->text(), text);
    QVERIFY(action->isEnabled());
    QVERIFY(!action->isCheckable());
    QVERIFY(action->shortcut().isEmpty());
    if (action->isSeparator()) {
        return;
    }

    if (effect.startsWith(QLatin1String("opens "))) {
        QCOMPARE(CloseModalOpenedBy([action] { action->trigger(); }), effect.mid(6));
    } else if (effect.startsWith(QLatin1String("starts "))) {
        const QString path = effect.mid(7);
        action->trigger();
        QVERIFY(Logged(fixture.audio, QStringLiteral("StreamCreateFile(%1)").arg(path)));
        QCOMPARE(fixture.Controls().列表框歌曲->currentRow(), SONGS.indexOf(path));
        QCOMPARE(fixture.Controls().按钮播放暂停->text(), QStringLiteral("暂 停"));
    } else {
        // Even while a song plays, the menu's exit asks nothing.
        fixture.Controls().按钮播放暂停->setText(QStringLiteral("暂 停"));
        action->trigger();
        QVERIFY(fixture.Window().IsDestroyed());
        QVERIFY(fixture.audio.freeCalled);
        QVERIFY(fixture.prompts.shown.empty());
    }
}

void TestTrayMenu::trayEventTypes_data() {
    QTest::addColumn<QSystemTrayIcon::ActivationReason>("reason");
    QTest::addColumn<int>("type");  // 0: no event
    QTest::newRow("left button") << QSystemTrayIcon::Trigger << 1;
    QTest::newRow("double-click") << QSystemTrayIcon::DoubleClick << 2;
    QTest::newRow("context request") << QSystemTrayIcon::Context << 3;
    QTest::newRow("middle button") << QSystemTrayIcon::MiddleClick << 0;
    QTest::newRow("unknown") << QSystemTrayIcon::Unknown << 0;
}

void TestTrayMenu::trayEventTypes() {
    QFETCH(QSystemTrayIcon::ActivationReason, reason);
    QFETCH(int, type);
    QCOMPARE(TrayEventType(reason).value_or(0), type);
}

void TestTrayMenu::leftReleaseTogglesTheWindow() {
    testing::MainWindowFixture fixture;
    MainWindow& window = fixture.Window();
    window.show();

    window.Tray().HandleTrayEvent(1);
    QVERIFY(!window.isVisible());
    window.Tray().HandleTrayEvent(1);
    QVERIFY(window.isVisible());
}

void TestTrayMenu::leftReleaseBringsBackAMinimisedWindow() {
    testing::MainWindowFixture fixture;
    MainWindow& window = fixture.Window();
    window.show();
    window.setWindowState(Qt::WindowMinimized);
    window.hide();  // as a desktop with a tray does

    window.Tray().HandleTrayEvent(1);
    QVERIFY(window.isVisible());
    QVERIFY(!window.isMinimized());
}

void TestTrayMenu::doubleClickChangesNothing() {
    testing::MainWindowFixture fixture;
    MainWindow& window = fixture.Window();
    window.show();
    window.Tray().HandleTrayEvent(2);
    QVERIFY(window.isVisible());
    window.hide();
    window.Tray().HandleTrayEvent(2);
    QVERIFY(!window.isVisible());
    QVERIFY(!window.Tray().FileMenu().isVisible());
}

void TestTrayMenu::contextPopsUpTheMenuBesideThePointer_data() {
    QTest::addColumn<bool>("windowShown");
    QTest::newRow("window shown") << true;
    QTest::newRow("window hidden") << false;
}

void TestTrayMenu::contextPopsUpTheMenuBesideThePointer() {
    QFETCH(bool, windowShown);
    testing::MainWindowFixture fixture;
    MainWindow& window = fixture.Window();
    window.setVisible(windowShown);
    QCursor::setPos(200, 150);

    window.Tray().HandleTrayEvent(3);
    QMenu& menu = window.Tray().FileMenu();
    QVERIFY(menu.isVisible());
    QCOMPARE(menu.pos(), QCursor::pos() + QPoint(3, 3));
    QCOMPARE(window.isVisible(), windowShown);
    menu.hide();
}

void TestTrayMenu::destroyedWindowStaysGone() {
    testing::MainWindowFixture fixture;
    MainWindow& window = fixture.Window();
    window.show();
    window.Tray().AddIcon();
    window.DestroyWindow();

    window.Tray().HandleTrayEvent(1);
    window.Tray().HandleTrayEvent(3);
    QVERIFY(!window.isVisible());
    QVERIFY(!window.Tray().FileMenu().isVisible());
    QVERIFY(!window.Tray().IconShown());
}

void TestTrayMenu::withoutATrayMinimisingKeepsTheWindowOnScreen() {
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        QSKIP("this desktop has a tray");
    }
    testing::MainWindowFixture fixture;
    MainWindow& window = fixture.Window();
    window.show();
    window.Tray().AddIcon();
    QVERIFY(!window.Tray().IconShown());

    window.showMinimized();
    QVERIFY(window.isVisible());
}

}  // namespace tunvell

QTEST_MAIN(tunvell::TestTrayMenu)
#include "test_tray_menu.moc"
