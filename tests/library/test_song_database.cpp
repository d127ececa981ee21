#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <QTest>

#include "library/song_database.h"
#include "tests/library/other_process.h"
#include "tests/library/store_files.h"

using namespace tunvell;
using namespace tunvell::testing;

namespace {

// Texts that have broken stores elsewhere: quoting, wildcards, line breaks,
// non-Latin scripts, a statement smuggled into a value, length.
QStringList AwkwardPaths() {
    return {QString(),
            QStringLiteral("/音乐/周杰伦/晴天.mp3"),
            QStringLiteral("/music/it's \"quoted\".mp3"),
            QStringLiteral("/music/100% _under_ %s%n.mp3"),
            QStringLiteral("/music/two\nlines\r\n.mp3"),
            QStringLiteral("/x'); DROP TABLE songs; --.mp3"),
            QStringLiteral("/") + QString(3995, QLatin1Char('d')) + QStringLiteral(".mp3")};
}

enum class Broken {
    Missing,
    ZeroBytes,
    Text,
    Binary,
    OtherTable,
    PathNotText,
    NoPathColumn,
    SongsView,
    WithoutRowid,
    Folder
};

}  // namespace

class SongDatabaseTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void recordsComeBackInStoredOrder();
    void cursorKeepsItsPlaceAcrossWrites();
    void notAStoreIsRefusedAndLeftAsItWas_data();
    void notAStoreIsRefusedAndLeftAsItWas();
    void addRecordIsCommittedWhenItReturns();
    void addRecordsIsAllOrNothing();
    void clearFailsWhileAnotherProcessHoldsALock_data();
    void clearFailsWhileAnotherProcessHoldsALock();
    void unwritableStore_data();
    void unwritableStore();
    void createEmptyNeverTouchesAnExistingFile();

private:
    QTemporaryDir dir_;
    QString StorePath() const { return dir_.filePath(SONG_DATABASE_NAME); }
};

void SongDatabaseTest::recordsComeBackInStoredOrder() {
    QFile::remove(StorePath());
    QVERIFY(SongDatabase::CreateEmpty(StorePath()));
    const QStringList paths = AwkwardPaths() + AwkwardPaths().mid(1, 2);
    {
        SongDatabase store;
        QVERIFY(store.Open(StorePath()));
        QCOMPARE(store.RecordCount(), 0);
        QCOMPARE(store.ReadPath(), QString());
        for (const QString& path : paths.mid(0, 4)) {
            store.AddRecord(path);
        }
        QCOMPARE(store.AddRecords(paths.mid(4)), paths.size() - 4);
        store.Close();
    }
    QCOMPARE(StoredPaths(StorePath()), paths);

    SongDatabase store;
    QVERIFY(store.Open(StorePath()));
    QCOMPARE(store.RecordCount(), paths.size());
    QCOMPARE(store.ReadAllPaths(), paths);
    QStringList walked;
    for (int i = 0; i < store.RecordCount(); ++i) {
        walked.append(store.ReadPath());
        store.Skip();
    }
    QCOMPARE(walked, paths);
    QCOMPARE(store.ReadPath(), QString());
    store.Skip();
    QCOMPARE(store.ReadPath(), QString());
}

void SongDatabaseTest::cursorKeepsItsPlaceAcrossWrites() {
    QVERIFY(WriteStore(StorePath(), {QStringLiteral("/1.mp3"), QStringLiteral("/2.mp3")}));
    SongDatabase store;
    QVERIFY(store.Open(StorePath()));
    store.Skip();
    store.AddRecord(QStringLiteral("/3.mp3"));
    QCOMPARE(store.ReadPath(), QStringLiteral("/2.mp3"));
    store.AddRecord(QStringLiteral("/4.mp3"));
    store.Skip();
    QCOMPARE(store.ReadPath(), QStringLiteral("/3.mp3"));
    QCOMPARE(store.RecordCount(), 4);
}

void SongDatabaseTest::notAStoreIsRefusedAndLeftAsItWas_data() {
    QTest::addColumn<Broken>("kind");
    QTest::newRow("missing") << Broken::Missing;
    QTest::newRow("zero bytes") << Broken::ZeroBytes;
    QTest::newRow("text") << Broken::Text;
    QTest::newRow("binary") << Broken::Binary;
    QTest::newRow("database of another table") << Broken::OtherTable;
    QTest::newRow("path is not text") << Broken::PathNotText;
    QTest::newRow("no path column") << Broken::NoPathColumn;
    QTest::newRow("songs is a view") << Broken::SongsView;
    QTest::newRow("table without rowid") << Broken::WithoutRowid;
    QTest::newRow("a folder of that name") << Broken::Folder;
}

void SongDatabaseTest::notAStoreIsRefusedAndLeftAsItWas() {
    QFETCH(Broken, kind);
    QTemporaryDir folder;
    const QString file = folder.filePath(SONG_DATABASE_NAME);
    QByteArray binary(4096, '\0');
    for (int i = 0; i < binary.size(); ++i) {
        binary[i] = static_cast<char>((i * 131 + 7) % 256);
    }
    switch (kind) {
        case Broken::Missing:
            break;
        case Broken::ZeroBytes:
            QVERIFY(WriteBytes(file, {}));
            break;
        case Broken::Text:
            QVERIFY(WriteBytes(file, "D:\\music\\a.mp3\r\nD:\\music\\b.mp3\r\n"));
            break;
        case Broken::Binary:
            QVERIFY(WriteBytes(file, binary));
            break;
        case Broken::OtherTable:
            QVERIFY(ExecuteOn(file,
                              "CREATE TABLE tracks (path TEXT); INSERT INTO tracks "
                              "VALUES ('/a.mp3')"));
            break;
        case Broken::PathNotText:
            QVERIFY(ExecuteOn(file,
                              "CREATE TABLE songs (path INTEGER); INSERT INTO songs "
                              "VALUES (1)"));
            break;
        case Broken::NoPathColumn:
            QVERIFY(ExecuteOn(file, "CREATE TABLE songs (name TEXT)"));
            break;
        case Broken::SongsView:
            QVERIFY(ExecuteOn(file,
                              "CREATE TABLE t (path TEXT); CREATE VIEW songs AS SELECT "
                              "path FROM t"));
            break;
        case Broken::WithoutRowid:
            QVERIFY(ExecuteOn(file, "CREATE TABLE songs (path TEXT PRIMARY KEY) WITHOUT ROWID"));
            break;
        case Broken::Folder:
            QVERIFY(QDir(folder.path()).mkdir(SONG_DATABASE_NAME));
            break;
    }
    const QByteArray before = ReadBytes(file);
    const QStringList entriesBefore = FolderEntries(folder.path());

    SongDatabase store;
    QVERIFY(!store.Open(file));
    QVERIFY(!store.IsOpen());
    QCOMPARE(store.RecordCount(), 0);
    QCOMPARE(store.ReadPath(), QString());
    store.Skip();
    store.AddRecord(QStringLiteral("/a.mp3"));
    QCOMPARE(store.AddRecords({QStringLiteral("/b.mp3")}), 0);
    QVERIFY(store.ReadAllPaths().isEmpty());
    QVERIFY(!store.Clear());
    store.Close();

    QCOMPARE(ReadBytes(file), before);
    QCOMPARE(FolderEntries(folder.path()), entriesBefore);
}

void SongDatabaseTest::addRecordIsCommittedWhenItReturns() {
    const QString file = StorePath();
    QVERIFY(WriteStore(file, {QStringLiteral("/old.mp3")}));
    // The child dies right after the call, without closing: only a committed
    // record survives that (an uncommitted one is rolled back from its journal).
    const bool added = InChildProcess<bool>(
        [&] {
            // Static, so that the child's _exit skips its destructor.
            static SongDatabase store;
            store.Open(file);
            store.ReadPath();
            store.AddRecord(QStringLiteral("/new.mp3"));
            return true;
        },
        false);
    QVERIFY(added);
    QCOMPARE(StoredPaths(file),
             QStringList({QStringLiteral("/old.mp3"), QStringLiteral("/new.mp3")}));
}

void SongDatabaseTest::addRecordsIsAllOrNothing() {
    const QString file = StorePath();
    QVERIFY(WriteStore(file, {QStringLiteral("/old.mp3")}));
    // Another program's rule that refuses one path halfway through the batch.
    QVERIFY(ExecuteOn(file,
                      "CREATE TRIGGER refuse BEFORE INSERT ON songs WHEN NEW.path = 'bad' "
                      "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    SongDatabase store;
    QVERIFY(store.Open(file));
    QCOMPARE(store.AddRecords(
                 {QStringLiteral("/a.mp3"), QStringLiteral("bad"), QStringLiteral("/b.mp3")}),
             0);
    QCOMPARE(store.RecordCount(), 1);
    {
        LockHolder other(file, LockHolder::Kind::Writing);
        QVERIFY(other.Held());
        QCOMPARE(store.AddRecords({QStringLiteral("/a.mp3")}), 0);
    }
    QCOMPARE(store.AddRecords({QStringLiteral("/a.mp3"), QStringLiteral("/b.mp3")}), 2);
    store.Close();
    QCOMPARE(StoredPaths(file), QStringList({QStringLiteral("/old.mp3"), QStringLiteral("/a.mp3"),
                                             QStringLiteral("/b.mp3")}));
}

void SongDatabaseTest::clearFailsWhileAnotherProcessHoldsALock_data() {
    QTest::addColumn<LockHolder::Kind>("kind");
    QTest::newRow("reading") << LockHolder::Kind::Reading;
    QTest::newRow("writing") << LockHolder::Kind::Writing;
    QTest::newRow("exclusive") << LockHolder::Kind::Exclusive;
}

void SongDatabaseTest::clearFailsWhileAnotherProcessHoldsALock() {
    QFETCH(LockHolder::Kind, kind);
    const QString file = StorePath();
    const QStringList paths{QStringLiteral("/a.mp3"), QStringLiteral("/b.mp3")};
    QVERIFY(WriteStore(file, paths));
    SongDatabase store;
    QVERIFY(store.Open(file));
    {
        LockHolder other(file, kind);
        QVERIFY(other.Held());
        QVERIFY(!store.Clear());
        QVERIFY(!store.Clear());
        other.Release();
        QVERIFY(store.Clear());
    }
    QCOMPARE(store.RecordCount(), 0);
    store.Close();
    // The store itself stays, empty and usable.
    QVERIFY(store.Open(file));
    QCOMPARE(store.RecordCount(), 0);
}

void SongDatabaseTest::unwritableStore_data() {
    QTest::addColumn<bool>("folderWritable");
    QTest::addColumn<bool>("fileWritable");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<int>("countAfterAdd");
    // In a read-only folder the file can be read but no journal can be made,
    // so nothing can be written.
    QTest::newRow("read-only folder") << false << true << true << 1;
    QTest::newRow("read-only file") << true << false << false << 0;
}

void SongDatabaseTest::unwritableStore() {
    QFETCH(bool, folderWritable);
    QFETCH(bool, fileWritable);
    QFETCH(bool, opens);
    QFETCH(int, countAfterAdd);

    struct Outcome {
        bool opened;
        bool cleared;
        int countAfterAdd;
        int addedInBatch;
    };
    // The work runs as a user without root's power to write anything anywhere.
    QTemporaryDir top;
    QVERIFY(chmod(QFile::encodeName(top.path()).constData(), 0755) == 0);
    const QString folder = top.filePath(QStringLiteral("program"));
    QVERIFY(QDir(top.path()).mkdir(QStringLiteral("program")));
    const QString file = folder + QLatin1Char('/') + SONG_DATABASE_NAME;
    QVERIFY(WriteStore(file, {QStringLiteral("/a.mp3")}));
    QVERIFY(chmod(QFile::encodeName(file).constData(), fileWritable ? 0666 : 0444) == 0);
    QVERIFY(chmod(QFile::encodeName(folder).constData(), folderWritable ? 0777 : 0555) == 0);
    const QByteArray before = ReadBytes(file);

    const Outcome outcome = InChildProcess<Outcome>(
        [&] {
            SongDatabase store;
            Outcome result{store.Open(file), false, 0, 0};
            store.AddRecord(QStringLiteral("/b.mp3"));
            result.addedInBatch = store.AddRecords({QStringLiteral("/c.mp3")});
            result.countAfterAdd = store.RecordCount();
            result.cleared = store.Clear();
            return result;
        },
        Outcome{false, true, -1, -1}, true);
    chmod(QFile::encodeName(folder).constData(), 0755);

    QCOMPARE(outcome.opened, opens);
    QCOMPARE(outcome.countAfterAdd, countAfterAdd);
    QCOMPARE(outcome.addedInBatch, 0);
    QVERIFY(!outcome.cleared);
    QCOMPARE(ReadBytes(file), before);
}

void SongDatabaseTest::createEmptyNeverTouchesAnExistingFile() {
    QTemporaryDir folder;
    const QString file = folder.filePath(SONG_DATABASE_NAME);
    QVERIFY(SongDatabase::CreateEmpty(file));
    SongDatabase store;
    QVERIFY(store.Open(file));
    QCOMPARE(store.RecordCount(), 0);
    store.AddRecord(QStringLiteral("/kept.mp3"));
    store.Close();

    const QByteArray before = ReadBytes(file);
    QVERIFY(!SongDatabase::CreateEmpty(file));
    QCOMPARE(ReadBytes(file), before);

    const QString garbage = folder.filePath(QStringLiteral("garbage.edb"));
    QVERIFY(WriteBytes(garbage, "not a store"));
    QVERIFY(!SongDatabase::CreateEmpty(garbage));
    QCOMPARE(ReadBytes(garbage), QByteArray("not a store"));

    const QString nowhere = folder.filePath(QStringLiteral("missing/name.edb"));
    QVERIFY(!SongDatabase::CreateEmpty(nowhere));
    QVERIFY(!QFileInfo::exists(nowhere));
}

QTEST_GUILESS_MAIN(SongDatabaseTest)
#include "test_song_database.moc"
