#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include "app/about_window.h"
#include "app/core/part_status_bar.h"
#include "tests/fakes/main_window_fixture.h"

namespace tunvell {

namespace {

// The text as the reader sees it, whether the label holds plain or rich text.
QString ShownText(const QLabel& label) {
    if (label.textFormat() == Qt::PlainText ||
        (label.textFormat() == Qt::AutoText && !Qt::mightBeRichText(label.text()))) {
        return label.text();
    }
    QTextDocument document;
    document.setHtml(label.text());
    return document.toPlainText();
}

}  // namespace

class TestAboutWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void labels_data();
    void labels();
    void frame();
    void pictureIsTheProgramIcon();
    void mainClockKeepsRunningWhileOpen();
};

void TestAboutWindow::labels_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("bold");

    QTest::newRow("header band") << QStringLiteral("标签1") << QRect(0, 0, 341, 34) << QString()
                                 << 0 << false;
    QTest::newRow("thin band") << QStringLiteral("标签2") << QRect(0, 34, 341, 4) << QString() << 0
                               << false;
    QTest::newRow("name") << QStringLiteral("透明标签4") << QRect(87, 3, 166, 24)
                          << QStringLiteral("Tunvell") << 19 << true;
    QTest::newRow("version") << QStringLiteral("透明标签5") << QRect(6, 47, 204, 24)
                             << QStringLiteral(" v3.6 更新说明") << 14 << true;
    QTest::newRow("notes") << QStringLiteral("透明标签1") << QRect(8, 77, 216, 57)
                           << QStringLiteral(
                                  "1.修正频谱闪烁\n2.重写频谱颜色与宽度设置代码\n"
                                  "3.增加频谱默认背景蓝\n4.代码优化、界面调整")
                           << 14 << false;
}

void TestAboutWindow::labels() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QFETCH(int, pixelSize);
    QFETCH(bool, bold);
    AboutWindow window;
    const auto* label = window.findChild<QLabel*>(name);
    QVERIFY(label != nullptr);

    QCOMPARE(label->geometry(), geometry);
    QCOMPARE(ShownText(*label), text);
    if (text.isEmpty()) {
        return;
    }
    QCOMPARE(label->font().pixelSize(), pixelSize);
    QCOMPARE(label->font().bold(), bold);
    // Whatever face stands in for 宋体 here, the text must fit its label.
    const QSize needed = label->sizeHint();
    QVERIFY2(needed.width() <= geometry.width() && needed.height() <= geometry.height(),
             qPrintable(QStringLiteral("needs %1 x %2").arg(needed.width()).arg(needed.height())));
}

void TestAboutWindow::frame() {
    AboutWindow window;
    QCOMPARE(window.windowTitle(), QStringLiteral("关于"));
    QCOMPARE(window.size(), QSize(341, 145));
    QCOMPARE(window.minimumSize(), window.maximumSize());

    const Qt::WindowFlags flags = window.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));

    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    QVERIFY((window.geometry().center() - screenCentre).manhattanLength() <= 2);

    // The header band is painted in a colour of its own.
    const QImage shot = window.grab().toImage();
    QVERIFY(shot.pixelColor(5, 5) != shot.pixelColor(5, 100));
    QVERIFY(shot.pixelColor(5, 36) != shot.pixelColor(5, 5));
}

void TestAboutWindow::pictureIsTheProgramIcon() {
    AboutWindow window;
    const auto* picture = window.findChild<QLabel*>(QStringLiteral("画板1"));
    QVERIFY(picture != nullptr);
    QCOMPARE(picture->geometry(), QRect(233, 49, 88, 88));
    const QPixmap pixmap = picture->pixmap();
    QVERIFY(!pixmap.isNull());
    QCOMPARE(pixmap.deviceIndependentSize().toSize(), QSize(88, 88));
}

void TestAboutWindow::mainClockKeepsRunningWhileOpen() {
    testing::MainWindowFixture fixture;
    fixture.clock.now = QTime(12, 0, 0);
    fixture.Window().时钟取时.SetPeriod(500);

    QString openedTitle;
    bool clockAdvanced = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            return;
        }
        openedTitle = modal->windowTitle();
        fixture.clock.now = QTime(7, 8, 9);
        clockAdvanced = QTest::qWaitFor([&] {
            return fixture.Controls().状态条1->PartText(0) == QStringLiteral(" 现在时间 07:08:09");
        });
        modal->close();
    });
    fixture.Window().OpenAboutWindow();
    QCoreApplication::processEvents();

    QCOMPARE(openedTitle, QStringLiteral("关于"));
    QVERIFY(clockAdvanced);
}

}  // namespace tunvell

QTEST_MAIN(tunvell::TestAboutWindow)
#include "test_about_window.moc"
