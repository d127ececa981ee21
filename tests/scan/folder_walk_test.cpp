#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTest>

#include "scan/folder_walk.h"
#include "tests/scan/folder_tree.h"

using tunvell::FolderWalkHooks;
using tunvell::WalkFolderTree;
using tunvell::testing::FolderTree;

namespace {

// Runs a walk from `root` (given without a final separator) and returns what
// it found, in order.
QStringList Walk(const QString& root, bool* finished = nullptr) {
    QStringList found;
    FolderWalkHooks hooks;
    hooks.fileFound = [&found](const QString& path) { found.append(path); };
    hooks.letEventsRun = [] { return true; };
    const bool ran = WalkFolderTree(root + QLatin1Char('/'), hooks);
    if (finished != nullptr) {
        *finished = ran;
    }
    return found;
}

QStringList Sorted(QStringList list) {
    list.sort();
    return list;
}

void Link(const QString& target, const QString& link) {
    QVERIFY2(
        ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()) == 0,
        qPrintable(link));
}

// Switches the effective user to "nobody" for its life, so that permissions
// bind even when the tests run as root.
class AsNobody {
public:
    AsNobody() {
        if (::geteuid() == 0) {
            switched_ = ::seteuid(65534) == 0;
        }
    }
    ~AsNobody() {
        if (switched_) {
            (void)::seteuid(0);
        }
    }
    AsNobody(const AsNobody&) = delete;
    AsNobody& operator=(const AsNobody&) = delete;

private:
    bool switched_ = false;
};

}  // namespace

class FolderWalkTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void subfoldersComeBeforeFilesAtEveryLevel() {
        const FolderTree tree({QStringLiteral("z.mp3"), QStringLiteral("sub/inner.mp3"),
                               QStringLiteral("sub/deeper/x.txt")});
        QCOMPARE(Walk(tree.Root()),
                 tree.Paths({QStringLiteral("sub/deeper/x.txt"), QStringLiteral("sub/inner.mp3"),
                             QStringLiteral("z.mp3")}));
    }

    void siblingsComeInTheFileSystemsOwnOrder() {
        FolderTree tree;
        for (int i = 0; i < 6; ++i) {
            tree.Add({QStringLiteral("d%1/in.mp3").arg(i), QStringLiteral("f%1.mp3").arg(i)});
        }
        const QDir root(tree.Root());
        QStringList expected;
        for (const QString& folder :
             root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted)) {
            expected.append(tree.Path(folder + QStringLiteral("/in.mp3")));
        }
        for (const QString& file : root.entryList(QDir::Files, QDir::Unsorted)) {
            expected.append(tree.Path(file));
        }
        QCOMPARE(Walk(tree.Root()), expected);
    }

    void namesStartingWithADotAreSkipped() {
        const FolderTree tree({QStringLiteral(".cache/inside.mp3"), QStringLiteral(".hidden.mp3"),
                               QStringLiteral("..."), QStringLiteral("music/.git/x"),
                               QStringLiteral("music/a.mp3"), QStringLiteral("a.b.c")});
        QCOMPARE(Sorted(Walk(tree.Root())),
                 tree.Paths({QStringLiteral("a.b.c"), QStringLiteral("music/a.mp3")}));
    }

    void everyKindOfFileIsListedAndLinksCountAsWhatTheyPointTo() {
        const FolderTree outside({QStringLiteral("far.mp3"), QStringLiteral("elsewhere/away.mp3")});
        const FolderTree tree({QStringLiteral("plain.mp3")});
        Link(outside.Path(QStringLiteral("far.mp3")), tree.Path(QStringLiteral("file-link.mp3")));
        Link(outside.Path(QStringLiteral("elsewhere")), tree.Path(QStringLiteral("folder-link")));
        Link(tree.Path(QStringLiteral("gone")), tree.Path(QStringLiteral("dangling.mp3")));
        QCOMPARE(::mkfifo(QFile::encodeName(tree.Path(QStringLiteral("pipe"))).constData(), 0600),
                 0);

        const QStringList found = Walk(tree.Root());
        QCOMPARE(found.first(), tree.Path(QStringLiteral("folder-link/away.mp3")));
        QCOMPARE(Sorted(found),
                 tree.Paths({QStringLiteral("dangling.mp3"), QStringLiteral("file-link.mp3"),
                             QStringLiteral("folder-link/away.mp3"), QStringLiteral("pipe"),
                             QStringLiteral("plain.mp3")}));
    }

    void eachRealFolderIsEnteredOncePerWalk() {
        const FolderTree outside({QStringLiteral("shared.mp3")});
        const FolderTree tree({QStringLiteral("a/one.mp3"), QStringLiteral("b/two.mp3")});
        Link(tree.Root(), tree.Path(QStringLiteral("a/up")));  // to an ancestor
        Link(tree.Path(QStringLiteral("b")), tree.Path(QStringLiteral("b/self")));  // to itself
        Link(outside.Root(), tree.Path(QStringLiteral("a/left")));                  // two ways into
        Link(outside.Root(), tree.Path(QStringLiteral("b/right")));  // the same folder

        bool finished = false;
        const QStringList found = Walk(tree.Root(), &finished);
        QVERIFY(finished);
        QCOMPARE(found.size(), 3);
        QVERIFY(found.contains(tree.Path(QStringLiteral("a/one.mp3"))));
        QVERIFY(found.contains(tree.Path(QStringLiteral("b/two.mp3"))));
        QCOMPARE(found.filter(QStringLiteral("/shared.mp3")).size(), 1);

        // A new walk starts afresh.
        QCOMPARE(Walk(tree.Root()).size(), 3);
    }

    void aFolderThatCannotBeListedAddsNothingAndSiblingsGoOn() {
        const FolderTree tree({QStringLiteral("a/1.mp3"), QStringLiteral("locked/2.mp3"),
                               QStringLiteral("locked/deeper/3.mp3"), QStringLiteral("z/4.mp3"),
                               QStringLiteral("5.mp3")});
        QVERIFY(::chmod(QFile::encodeName(tree.Root()).constData(), 0755) == 0);
        QVERIFY(::chmod(QFile::encodeName(tree.Path(QStringLiteral("locked"))).constData(), 0) ==
                0);
        QStringList found;
        {
            const AsNobody nobody;
            const int probe =
                ::open(QFile::encodeName(tree.Path(QStringLiteral("locked"))).constData(),
                       O_RDONLY | O_DIRECTORY);
            if (probe >= 0) {
                ::close(probe);
                ::chmod(QFile::encodeName(tree.Path(QStringLiteral("locked"))).constData(), 0700);
                QSKIP("permissions do not bind for this user");
            }
            found = Walk(tree.Root());
        }
        ::chmod(QFile::encodeName(tree.Path(QStringLiteral("locked"))).constData(), 0700);
        QCOMPARE(Sorted(found), tree.Paths({QStringLiteral("5.mp3"), QStringLiteral("a/1.mp3"),
                                            QStringLiteral("z/4.mp3")}));
    }

    void namesOutsideTheFileNameEncodingAreSkipped() {
        const FolderTree tree({QStringLiteral("歌曲.mp3")});
        const QByteArray root = QFile::encodeName(tree.Root());
        const QByteArray badFile = root + "/bad\xff\xfe.mp3";
        const QByteArray badFolder = root + "/\xc3(folder";
        QVERIFY(::close(::open(badFile.constData(), O_CREAT | O_WRONLY, 0600)) == 0);
        QVERIFY(::mkdir(badFolder.constData(), 0700) == 0);
        QVERIFY(::close(::open((badFolder + "/inside.mp3").constData(), O_CREAT | O_WRONLY,
                               0600)) == 0);

        const QStringList found = Walk(tree.Root());
        // Qt cannot remove these names itself.
        ::unlink((badFolder + "/inside.mp3").constData());
        ::rmdir(badFolder.constData());
        ::unlink(badFile.constData());
        QCOMPARE(found, tree.Paths({QStringLiteral("歌曲.mp3")}));
        QVERIFY(QFileInfo::exists(found.first()));
    }

    void theCallerCanEndTheWalkAtAnyPause_data() {
        QTest::addColumn<int>("stopAtPause");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("finished");
        // Pauses: 1 at the root, 2 entering a/, 3 after a/.
        QTest::newRow("at the root") << 1 << QStringList() << false;
        QTest::newRow("entering a subfolder") << 2 << QStringList() << false;
        QTest::newRow("after a subfolder") << 3 << QStringList{QStringLiteral("a/1.mp3")} << false;
        QTest::newRow("never") << 0
                               << QStringList{QStringLiteral("a/1.mp3"), QStringLiteral("b.mp3")}
                               << true;
    }
    void theCallerCanEndTheWalkAtAnyPause() {
        QFETCH(int, stopAtPause);
        QFETCH(QStringList, expected);
        QFETCH(bool, finished);
        const FolderTree tree({QStringLiteral("a/1.mp3"), QStringLiteral("b.mp3")});
        QStringList found;
        int pauses = 0;
        FolderWalkHooks hooks;
        hooks.fileFound = [&found](const QString& path) { found.append(path); };
        hooks.letEventsRun = [&] { return ++pauses != stopAtPause; };
        QCOMPARE(WalkFolderTree(tree.Root() + QLatin1Char('/'), hooks), finished);
        QCOMPARE(found, tree.Paths(expected));
        if (stopAtPause != 0) {
            QCOMPARE(pauses, stopAtPause);
        }
    }

    void aMissingFolderListsNothing() {
        const FolderTree tree;
        bool finished = false;
        QVERIFY(Walk(tree.Path(QStringLiteral("nowhere")), &finished).isEmpty());
        QVERIFY(finished);
    }
};

QTEST_GUILESS_MAIN(FolderWalkTest)
#include "folder_walk_test.moc"
