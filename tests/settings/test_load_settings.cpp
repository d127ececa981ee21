#include <QtTest>

#include <QTemporaryDir>
#include <limits>

#include "app/core/player_state.h"
#include "settings/load_settings.h"
#include "settings/settings_file.h"
#include "spectrum/spectrum_canvas.h"
#include "tests/settings/settings_test_files.h"

using namespace tunvell;
using namespace tunvell::testing;

class LoadSettingsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startUpTakesTheFileOrItsDefaults_data();
    void startUpTakesTheFileOrItsDefaults();
};

void LoadSettingsTest::startUpTakesTheFileOrItsDefaults_data() {
    QTest::addColumn<QByteArray>("content");  // null: no file
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("playMode");
    QTest::addColumn<QString>("autoPlay");
    QTest::addColumn<uint>("pen");
    QTest::addColumn<uint>("background");

    const uint white = DEFAULT_SPECTRUM_PEN;
    const uint blue = DEFAULT_SPECTRUM_BACKGROUND;
    QTest::newRow("no file") << QByteArray() << 7 << u"0"_qs << u"0"_qs << white << blue;
    QTest::newRow("empty file") << QByteArray("") << 7 << u"0"_qs << u"0"_qs << white << blue;
    QTest::newRow("every key") << QByteArray(
                                      "[mode]\npmd=1\n[autorun]\npar=1\n[position]\npos=4\n"
                                      "[color]\ncl1=255\ncl2=65280\n")
                               << 4 << u"1"_qs << u"1"_qs << 255u << 65280u;
    QTest::newRow("only pos=3") << QByteArray("[position]\npos=3\n") << 3 << u"0"_qs << u"0"_qs
                                << white << blue;
    QTest::newRow("pos missing") << QByteArray("[mode]\npmd=1\n") << 7 << u"1"_qs << u"0"_qs
                                 << white << blue;
    QTest::newRow("pos empty") << QByteArray("[position]\npos=\n") << 0 << u"0"_qs << u"0"_qs
                               << white << blue;
    QTest::newRow("pos=20") << QByteArray("[position]\npos=20\n") << 20 << u"0"_qs << u"0"_qs
                            << white << blue;
    QTest::newRow("negative width")
        << QByteArray("[position]\npos=-3\n") << -3 << u"0"_qs << u"0"_qs << white << blue;
    QTest::newRow("huge width") << QByteArray("[position]\npos=99999999999\n")
                                << std::numeric_limits<int>::max() << u"0"_qs << u"0"_qs << white
                                << blue;
    QTest::newRow("cl1 not a number")
        << QByteArray("[color]\ncl1=white\n") << 7 << u"0"_qs << u"0"_qs << 0u << blue;
    QTest::newRow("cl1 empty") << QByteArray("[color]\ncl1=\ncl2=0\n") << 7 << u"0"_qs << u"0"_qs
                               << white << 0u;
    QTest::newRow("negative colour keeps its bits")
        << QByteArray("[color]\ncl2=-5\n") << 7 << u"0"_qs << u"0"_qs << white << 0xFFFFFFFBu;
    QTest::newRow("par=yes") << QByteArray("[autorun]\npar=yes\n") << 7 << u"0"_qs << u"yes"_qs
                             << white << blue;
    QTest::newRow("pmd=2") << QByteArray("[mode]\npmd=2\n") << 7 << u"2"_qs << u"0"_qs << white
                           << blue;
    QTest::newRow("pmd empty") << QByteArray("[mode]\npmd=\n") << 7 << u""_qs << u"0"_qs << white
                               << blue;
    QTest::newRow("signature, CRLF, garbage, duplicate sections")
        << QByteArray(
               "\xEF\xBB\xBFnonsense\r\n[POSITION]\r\npos=5\r\n[position]\r\npos=6\r\n"
               "=\r\n[Color]\r\nCL1=16711680\r\n")
        << 5 << u"0"_qs << u"0"_qs << 16711680u << blue;
    QTest::newRow("1 MB value kept as read")
        << QByteArray("[mode]\npmd=" + QByteArray(1 << 20, '1') + "\n[position]\npos=2\n") << 2
        << QString(1 << 20, u'1') << u"0"_qs << white << blue;
}

void LoadSettingsTest::startUpTakesTheFileOrItsDefaults() {
    QFETCH(QByteArray, content);
    QFETCH(int, width);
    QFETCH(QString, playMode);
    QFETCH(QString, autoPlay);
    QFETCH(uint, pen);
    QFETCH(uint, background);

    QTemporaryDir dir;
    const SettingsFile file(SettingsPathIn(dir.path()));
    PutFile(file.Path(), content);
    PlayerState state;
    SpectrumCanvas canvas;
    canvas.SetPenColor(1);
    canvas.SetBackgroundColor(2);

    LoadSettings(file, state, canvas);

    QCOMPARE(state.spectrumBarWidth, width);
    QCOMPARE(state.playMode, playMode);
    QCOMPARE(state.autoPlay, autoPlay);
    QCOMPARE(canvas.PenColor(), pen);
    QCOMPARE(canvas.BackgroundColor(), background);
    QCOMPARE(FileBytes(file.Path()), content);  // reading never writes
}

QTEST_MAIN(LoadSettingsTest)
#include "test_load_settings.moc"
