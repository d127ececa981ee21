#include <QtTest>

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <clocale>
#include <cstdlib>
#include <limits>

#include "settings/settings_file.h"
#include "tests/settings/file_size_limit.h"
#include "tests/settings/settings_test_files.h"

using namespace tunvell;
using namespace tunvell::testing;

namespace {

constexpr std::int32_t INT32_LARGEST = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t INT32_SMALLEST = std::numeric_limits<std::int32_t>::min();

}  // namespace

class SettingsFileTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();

    void numbersReadAsAtofThenTruncate_data();
    void numbersReadAsAtofThenTruncate();
    void numbersIgnoreTheUsersDecimalComma();
    void colourTextKeepsTheNumberRead_data();
    void colourTextKeepsTheNumberRead();

    void readFindsTheValue_data();
    void readFindsTheValue();
    void readSeesAChangeMadeByHand();
    void aDirectoryIsNoSettingsFile();

    void firstWritesCreateTheSectionsInTheirOrder();
    void writeKeepsTheRestOfTheFile_data();
    void writeKeepsTheRestOfTheFile();
    void writeFailsWhereNoFileCanBe_data();
    void writeFailsWhereNoFileCanBe();
    void failedWriteLeavesTheOldFileWhole();
    void writeRefusesTextThatWouldBreakTheFile_data();
    void writeRefusesTextThatWouldBreakTheFile();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString path_;
};

void SettingsFileTest::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    path_ = SettingsPathIn(dir_->path());
}

void SettingsFileTest::numbersReadAsAtofThenTruncate_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("number");

    QTest::newRow("plain") << u"7"_qs << 7;
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("not a number") << u"abc"_qs << 0;
    QTest::newRow("blanks before") << u" \t 3"_qs << 3;
    QTest::newRow("numeric prefix") << u"20px"_qs << 20;
    QTest::newRow("plus sign") << u"+5"_qs << 5;
    QTest::newRow("negative") << u"-5"_qs << -5;
    QTest::newRow("fraction truncates down") << u"3.9"_qs << 3;
    QTest::newRow("negative fraction truncates up") << u"-3.9"_qs << -3;
    QTest::newRow("exponent") << u"1e3"_qs << 1000;
    QTest::newRow("hexadecimal") << u"0x10"_qs << 16;
    QTest::newRow("colour") << u"12295509"_qs << 12295509;
    QTest::newRow("largest") << u"2147483647"_qs << INT32_LARGEST;
    QTest::newRow("just above largest") << u"2147483647.5"_qs << INT32_LARGEST;
    QTest::newRow("above range saturates") << u"4294967295"_qs << INT32_LARGEST;
    QTest::newRow("far above range") << u"99999999999999999999"_qs << INT32_LARGEST;
    QTest::newRow("smallest") << u"-2147483648"_qs << INT32_SMALLEST;
    QTest::newRow("below range saturates") << u"-2147483649"_qs << INT32_SMALLEST;
    QTest::newRow("overflowing exponent") << u"1e999"_qs << INT32_LARGEST;
    QTest::newRow("infinity") << u"-inf"_qs << INT32_SMALLEST;
    QTest::newRow("not a number reads 0") << u"nan"_qs << 0;
}

void SettingsFileTest::numbersReadAsAtofThenTruncate() {
    QFETCH(QString, text);
    QFETCH(int, number);
    QCOMPARE(SettingsNumber(text), number);
}

void SettingsFileTest::numbersIgnoreTheUsersDecimalComma() {
    // The same file reads the same under every locale: "2.5e1" is 25 and a
    // comma ends the number, even where the user's decimal mark is a comma.
    const QString localedef = QStandardPaths::findExecutable(u"localedef"_qs);
    if (localedef.isEmpty()) {
        QSKIP("localedef is not installed");
    }
    QTemporaryDir locales;
    const int built = QProcess::execute(localedef, {u"-i"_qs, u"de_DE"_qs, u"-f"_qs, u"UTF-8"_qs,
                                                    locales.filePath(u"de_DE.UTF-8"_qs)});
    qputenv("LOCPATH", QFile::encodeName(locales.path()));
    if (built != 0 || std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) {
        qunsetenv("LOCPATH");
        QSKIP("no locale with a decimal comma could be made");
    }
    const double libraryReading = std::atof("2,5");
    const int dotted = SettingsNumber(u"2.5e1"_qs);
    const int comma = SettingsNumber(u"2,5e1"_qs);
    std::setlocale(LC_NUMERIC, "C");
    qunsetenv("LOCPATH");
    QCOMPARE(libraryReading, 2.5);  // the locale really reads a comma
    QCOMPARE(dotted, 25);
    QCOMPARE(comma, 2);
}

void SettingsFileTest::colourTextKeepsTheNumberRead_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("writtenBack");

    QTest::newRow("default background") << u"12295509"_qs << u"12295509"_qs;
    QTest::newRow("negative") << u"-5"_qs << u"-5"_qs;
    QTest::newRow("largest") << u"2147483647"_qs << u"2147483647"_qs;
    QTest::newRow("smallest") << u"-2147483648"_qs << u"-2147483648"_qs;
    // Beyond 32 bits the number read is the saturated one, and that is kept.
    QTest::newRow("above range") << u"4294967295"_qs << u"2147483647"_qs;
    QTest::newRow("not a number") << u"blue"_qs << u"0"_qs;
}

void SettingsFileTest::colourTextKeepsTheNumberRead() {
    QFETCH(QString, text);
    QFETCH(QString, writtenBack);
    QCOMPARE(SettingsColorText(SettingsColor(text, DEFAULT_SPECTRUM_PEN)), writtenBack);
}

void SettingsFileTest::readFindsTheValue_data() {
    QTest::addColumn<QByteArray>("content");  // null: no file
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("fallback");  // null: read without a default
    QTest::addColumn<QString>("value");

    const QByteArray usual("[mode]\npmd=1\n[autorun]\npar=0\n");
    QTest::newRow("value") << usual << u"mode"_qs << u"pmd"_qs << u"7"_qs << u"1"_qs;
    QTest::newRow("no file, default")
        << QByteArray() << u"mode"_qs << u"pmd"_qs << u"7"_qs << u"7"_qs;
    QTest::newRow("no file, no default")
        << QByteArray() << u"mode"_qs << u"pmd"_qs << QString() << u""_qs;
    QTest::newRow("empty file") << QByteArray("") << u"mode"_qs << u"pmd"_qs << u"7"_qs << u"7"_qs;
    QTest::newRow("missing section") << usual << u"color"_qs << u"cl1"_qs << u"7"_qs << u"7"_qs;
    QTest::newRow("missing key, default")
        << usual << u"mode"_qs << u"other"_qs << u"7"_qs << u"7"_qs;
    QTest::newRow("missing key, no default")
        << usual << u"mode"_qs << u"other"_qs << QString() << u""_qs;
    QTest::newRow("empty value is not the default")
        << QByteArray("[position]\npos=\n") << u"position"_qs << u"pos"_qs << u"7"_qs << u""_qs;
    QTest::newRow("names ignore case")
        << QByteArray("[MoDe]\nPMD=1\n") << u"mode"_qs << u"pmd"_qs << u"7"_qs << u"1"_qs;
    QTest::newRow("asked in capitals") << usual << u"AUTORUN"_qs << u"Par"_qs << u"7"_qs << u"0"_qs;
    QTest::newRow("blanks around name and value")
        << QByteArray("[ mode ]\n  pmd  =  1 2  \n") << u"mode"_qs << u"pmd"_qs << QString()
        << u"1 2"_qs;
    QTest::newRow("equals sign inside the value")
        << QByteArray("[mode]\npmd==1=\n") << u"mode"_qs << u"pmd"_qs << QString() << u"=1="_qs;
    QTest::newRow("quotes are part of the value")
        << QByteArray("[mode]\npmd=\"1\"\n") << u"mode"_qs << u"pmd"_qs << QString() << u"\"1\""_qs;
    QTest::newRow("signature and CRLF") << QByteArray("\xEF\xBB\xBF[position]\r\npos=3\r\n")
                                        << u"position"_qs << u"pos"_qs << QString() << u"3"_qs;
    QTest::newRow("lone CR line breaks") << QByteArray("[a]\rx=1\r[position]\rpos=4\r")
                                         << u"position"_qs << u"pos"_qs << QString() << u"4"_qs;
    QTest::newRow("no line break at the end")
        << QByteArray("[position]\npos=5") << u"position"_qs << u"pos"_qs << QString() << u"5"_qs;
    QTest::newRow("first of duplicate sections")
        << QByteArray("[mode]\npmd=1\n[x]\ny=2\n[mode]\npmd=0\n") << u"mode"_qs << u"pmd"_qs
        << QString() << u"1"_qs;
    QTest::newRow("key only in the second duplicate section")
        << QByteArray("[mode]\na=1\n[mode]\npmd=0\n") << u"mode"_qs << u"pmd"_qs << QString()
        << u"0"_qs;
    QTest::newRow("first of duplicate keys")
        << QByteArray("[mode]\npmd=1\npmd=0\n") << u"mode"_qs << u"pmd"_qs << QString() << u"1"_qs;
    QTest::newRow("garbage lines around")
        << QByteArray("garbage\n[mode\n=x\n[mode]\n\x01\xff junk\npmd=1\n") << u"mode"_qs
        << u"pmd"_qs << QString() << u"1"_qs;
    QTest::newRow("unclosed section line") << QByteArray("[position]\n[color\npos=3\n")
                                           << u"position"_qs << u"pos"_qs << QString() << u"3"_qs;
    QTest::newRow("empty section name") << QByteArray("[position]\n[ ]\npos=3\n") << u"position"_qs
                                        << u"pos"_qs << QString() << u"3"_qs;
    QTest::newRow("commented-out key") << QByteArray("[mode]\n;pmd=0\n# pmd=0\npmd=1\n")
                                       << u"mode"_qs << u"pmd"_qs << QString() << u"1"_qs;
    QTest::newRow("key before any section is in none")
        << QByteArray("pmd=1\n[mode]\n") << u"mode"_qs << u"pmd"_qs << u"7"_qs << u"7"_qs;
    QTest::newRow("binary file") << (QByteArray(2, '\0') + "\x01[mode]\npmd=1") << u"mode"_qs
                                 << u"pmd"_qs << u"7"_qs << u"7"_qs;
    const QByteArray tenK(10240, '3');
    QTest::newRow("10 KB value whole")
        << QByteArray("[position]\npos=" + tenK + "\n") << u"position"_qs << u"pos"_qs << QString()
        << QString::fromLatin1(tenK);
    const QByteArray oneM(1 << 20, 'x');
    QTest::newRow("1 MB value whole")
        << QByteArray("[mode]\npmd=" + oneM + "\n[a]\nb=1\n") << u"mode"_qs << u"pmd"_qs
        << QString() << QString::fromLatin1(oneM);
}

void SettingsFileTest::readFindsTheValue() {
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, fallback);
    QFETCH(QString, value);

    PutFile(path_, content);
    const SettingsFile file(path_);
    QCOMPARE(file.Exists(), !content.isNull());
    const QString read =
        fallback.isNull() ? file.Read(section, key) : file.Read(section, key, fallback);
    QCOMPARE(read, value);
}

void SettingsFileTest::readSeesAChangeMadeByHand() {
    const SettingsFile file(path_);
    PutFile(path_, "[position]\npos=3\n");
    QCOMPARE(file.Read(u"position"_qs, u"pos"_qs), u"3"_qs);
    PutFile(path_, "[position]\npos=5\n");
    QCOMPARE(file.Read(u"position"_qs, u"pos"_qs), u"5"_qs);
    QFile::remove(path_);
    QVERIFY(!file.Exists());
    QCOMPARE(file.Read(u"position"_qs, u"pos"_qs, u"7"_qs), u"7"_qs);
}

void SettingsFileTest::aDirectoryIsNoSettingsFile() {
    QVERIFY(QDir(dir_->path()).mkdir(u"config.ini"_qs));
    const SettingsFile file(path_);
    QVERIFY(!file.Exists());
    QCOMPARE(file.Read(u"position"_qs, u"pos"_qs, u"7"_qs), u"7"_qs);
}

void SettingsFileTest::firstWritesCreateTheSectionsInTheirOrder() {
    SettingsFile file(path_);
    QVERIFY(file.Write(u"mode"_qs, u"pmd"_qs, u"0"_qs));
    QVERIFY(file.Write(u"autorun"_qs, u"par"_qs, u"1"_qs));
    QVERIFY(file.Write(u"position"_qs, u"pos"_qs, u"7"_qs));
    QVERIFY(file.Write(u"color"_qs, u"cl1"_qs, u"16777215"_qs));
    QVERIFY(file.Write(u"color"_qs, u"cl2"_qs, u"12295509"_qs));
    QCOMPARE(FileBytes(path_), QByteArray("[mode]\npmd=0\n\n\n"
                                          "[autorun]\npar=1\n\n\n"
                                          "[position]\npos=7\n\n\n"
                                          "[color]\ncl1=16777215\ncl2=12295509\n"));
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{u"config.ini"_qs});
}

void SettingsFileTest::writeKeepsTheRestOfTheFile_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("comments and foreign keys") << QByteArray(
                                                      "; Tunvell settings\n"
                                                      "\n"
                                                      "[mode]\n"
                                                      "; 0 random, 1 loop\n"
                                                      "pmd=1\n"
                                                      "mine=keep me\n"
                                                      "[foreign]\n"
                                                      "x=1\n"
                                                      "; closing words\n"
                                                      "# and more\n")
                                               << u"mode"_qs << u"pmd"_qs << u"0"_qs
                                               << QByteArray(
                                                      "; Tunvell settings\n"
                                                      "\n"
                                                      "\n"
                                                      "[mode]\n"
                                                      "\n"
                                                      "; 0 random, 1 loop\n"
                                                      "pmd=0\n"
                                                      "mine=keep me\n"
                                                      "\n"
                                                      "\n"
                                                      "[foreign]\n"
                                                      "x=1\n"
                                                      "; closing words\n"
                                                      "# and more\n");
    QTest::newRow("names keep their own case")
        << QByteArray("[MODE]\nPMD=1\n") << u"mode"_qs << u"pmd"_qs << u"0"_qs
        << QByteArray("[MODE]\nPMD=0\n");
    QTest::newRow("new key at the end of its section")
        << QByteArray("[color]\ncl1=255\n[mode]\npmd=1\n") << u"color"_qs << u"cl2"_qs << u"0"_qs
        << QByteArray("[color]\ncl1=255\ncl2=0\n\n\n[mode]\npmd=1\n");
    QTest::newRow("new section before the closing comment")
        << QByteArray("[mode]\npmd=1\n; end\n") << u"color"_qs << u"cl1"_qs << u"0"_qs
        << QByteArray("[mode]\npmd=1\n\n\n[color]\ncl1=0\n; end\n");
    QTest::newRow("signature and CRLF kept")
        << QByteArray("\xEF\xBB\xBF[mode]\r\npmd=1\r\n; end\r\n") << u"mode"_qs << u"pmd"_qs
        << u"0"_qs << QByteArray("\xEF\xBB\xBF[mode]\r\npmd=0\r\n; end\r\n");
    QTest::newRow("duplicate keys become one")
        << QByteArray("[mode]\npmd=1\npmd=2\n") << u"mode"_qs << u"pmd"_qs << u"0"_qs
        << QByteArray("[mode]\npmd=0\n");
    QTest::newRow("comment-only file")
        << QByteArray("; just a note\n") << u"mode"_qs << u"pmd"_qs << u"0"_qs
        << QByteArray("; just a note\n\n\n[mode]\npmd=0\n");
    QTest::newRow("stray text at the end kept")
        << QByteArray("[mode]\npmd=1\n\nthis is not a key\n") << u"mode"_qs << u"pmd"_qs << u"0"_qs
        << QByteArray("[mode]\npmd=0\n\nthis is not a key\n");
    QTest::newRow("stray lines kept in place")
        << QByteArray("; one\n  ; indented\n[mode]\nnot a key\npmd=1\n[color\ncl1=5\n")
        << u"mode"_qs << u"pmd"_qs << u"0"_qs
        << QByteArray("; one\n  ; indented\n\n\n[mode]\n\nnot a key\npmd=0\n\n[color\ncl1=5\n");
    QTest::newRow("closing comment without line break")
        << QByteArray("[mode]\npmd=1\n; end") << u"mode"_qs << u"pmd"_qs << u"0"_qs
        << QByteArray("[mode]\npmd=0\n; end");
    QTest::newRow("text after a NUL kept")
        << (QByteArray("[mode]\npmd=1\n") + '\0' + "rest") << u"mode"_qs << u"pmd"_qs << u"0"_qs
        << (QByteArray("[mode]\npmd=0\n") + '\0' + "rest");
    QTest::newRow("empty file") << QByteArray("") << u"mode"_qs << u"pmd"_qs << u"0"_qs
                                << QByteArray("[mode]\npmd=0\n");
}

void SettingsFileTest::writeKeepsTheRestOfTheFile() {
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);

    PutFile(path_, before);
    SettingsFile file(path_);
    QVERIFY(file.Write(section, key, value));
    QCOMPARE(FileBytes(path_), after);
    QCOMPARE(file.Read(section, key), value);
    // A second save of the same value changes nothing more.
    QVERIFY(file.Write(section, key, value));
    QCOMPARE(FileBytes(path_), after);
}

void SettingsFileTest::writeFailsWhereNoFileCanBe_data() {
    QTest::addColumn<QString>("relativePath");
    QTest::newRow("directory missing") << u"missing/config.ini"_qs;
    QTest::newRow("a directory in the way") << u"config.ini"_qs;
    QTest::newRow("parent is a file") << u"plain/config.ini"_qs;
}

void SettingsFileTest::writeFailsWhereNoFileCanBe() {
    QFETCH(QString, relativePath);
    QDir base(dir_->path());
    QVERIFY(base.mkdir(u"config.ini"_qs));
    PutFile(base.filePath(u"plain"_qs), "not a directory");

    SettingsFile file(base.filePath(relativePath));
    QVERIFY(!file.Write(u"mode"_qs, u"pmd"_qs, u"0"_qs));
    QVERIFY(!file.Exists());
    QCOMPARE(base.entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             (QStringList{u"config.ini"_qs, u"plain"_qs}));
    QVERIFY(QFileInfo(base.filePath(u"config.ini"_qs)).isDir());
    QCOMPARE(FileBytes(base.filePath(u"plain"_qs)), QByteArray("not a directory"));
}

void SettingsFileTest::failedWriteLeavesTheOldFileWhole() {
    const QByteArray old = "; " + QByteArray(200, 'c') + "\n[mode]\npmd=1\n";
    PutFile(path_, old);
    SettingsFile file(path_);
    {
        FileSizeLimit limit(64);  // the new text no longer fits: like a full disk
        QVERIFY(!file.Write(u"mode"_qs, u"pmd"_qs, u"0"_qs));
    }
    QCOMPARE(FileBytes(path_), old);
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{u"config.ini"_qs});
    QCOMPARE(file.Read(u"mode"_qs, u"pmd"_qs), u"1"_qs);
}

void SettingsFileTest::writeRefusesTextThatWouldBreakTheFile_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("line break in value") << u"mode"_qs << u"pmd"_qs << u"0\n[x]"_qs;
    QTest::newRow("carriage return in value") << u"mode"_qs << u"pmd"_qs << u"0\r1"_qs;
    QTest::newRow("equals sign in key") << u"mode"_qs << u"p=d"_qs << u"0"_qs;
    QTest::newRow("empty key") << u"mode"_qs << u""_qs << u"0"_qs;
    QTest::newRow("key that reads as a comment") << u"mode"_qs << u";pmd"_qs << u"0"_qs;
    QTest::newRow("bracket in section") << u"mo]de"_qs << u"pmd"_qs << u"0"_qs;
    QTest::newRow("line break in section") << u"mode\n"_qs << u"pmd"_qs << u"0"_qs;
}

void SettingsFileTest::writeRefusesTextThatWouldBreakTheFile() {
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    const QByteArray old("[mode]\npmd=1\n");
    PutFile(path_, old);
    SettingsFile file(path_);
    QVERIFY(!file.Write(section, key, value));
    QCOMPARE(FileBytes(path_), old);
}

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "test_settings_file.moc"
