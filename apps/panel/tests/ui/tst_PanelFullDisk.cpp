// mervgauge-panel with its history on a disk that is full: the run goes on and ends well, and
// every transition it raised is in the history or in the recovery file it names. The disk is a
// small tmpfs the test mounts; where mounting is not permitted the test is skipped.
#include "PanelTestSupport.h"
#include "TempFolder.h"
#include "panel/AlarmHistory.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <map>
#include <sys/mount.h>

namespace merv::panel {
namespace {

namespace fs = std::filesystem;

// A 512 KiB tmpfs on a folder of the test's own, unmounted when it goes.
struct SmallDisk {
    explicit SmallDisk(const fs::path& where) : path(where) {
        fs::create_directories(where);
        mounted = ::mount("tmpfs", where.c_str(), "tmpfs", 0, "size=512k") == 0;
        why = mounted ? std::string() : std::strerror(errno);
    }
    ~SmallDisk() {
        if (mounted)
            ::umount2(path.c_str(), MNT_DETACH);
    }
    // Fills the disk, then frees room for SQLite's shared-memory file and little more.
    void fill() {
        std::ofstream filler(path / "filler", std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), std::streamsize(block.size())) && filler.flush()) {
        }
        filler.close();
        fs::resize_file(path / "filler", fs::file_size(path / "filler") - 36 * 1024);
    }
    fs::path path;
    bool mounted = false;
    std::string why;
};

// Each kind's count of "raised" rows in a CSV of the history's form.
std::map<std::string, int> raisedInCsv(const fs::path& csv) {
    std::map<std::string, int> raised;
    std::ifstream in(csv);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        static const QRegularExpression row(QStringLiteral(",(On\\w+),raised,"));
        const auto match = row.match(QString::fromStdString(line));
        if (match.hasMatch())
            ++raised[match.captured(1).toStdString()];
    }
    return raised;
}

} // namespace

class tst_PanelFullDisk : public QObject {
    Q_OBJECT
public:
    static void initMain() { useTheTestScreen(); }
private slots:
    void aFullDiskKeepsThePanelUpAndLosesNoTransition();
};

void tst_PanelFullDisk::aFullDiskKeepsThePanelUpAndLosesNoTransition() {
    test::TempFolder folder;
    SmallDisk disk(folder / "disk");
    if (!disk.mounted)
        QSKIP(qPrintable(
            QStringLiteral("cannot mount a tmpfs here: %1").arg(QString::fromStdString(disk.why))));
    const fs::path historyPath = disk.path / "h.sqlite";
    { AlarmHistory create(historyPath); }
    disk.fill();
    fs::create_directories(folder / "tmp");

    QProcess panel;
    QProcessEnvironment tmp;
    tmp.insert(QStringLiteral("TMPDIR"), QString::fromStdString((folder / "tmp").string()));
    // A simulated two minutes of the built-in plant raise several alarms.
    startHeadlessPanel(panel,
                       {QStringLiteral("--history"), QString::fromStdString(historyPath.string()),
                        QStringLiteral("--seconds"), QStringLiteral("120")},
                       folder.path(), tmp);
    QVERIFY(panel.waitForFinished(60000));
    const QString out = QString::fromUtf8(panel.readAllStandardOutput());
    const QString err = QString::fromUtf8(panel.readAllStandardError());
    QVERIFY2(panel.exitStatus() == QProcess::NormalExit && panel.exitCode() == 0, qPrintable(err));

    std::map<std::string, int> printed;
    static const QRegularExpression count(QStringLiteral("^(On\\w+): (\\d+) raised$"),
                                          QRegularExpression::MultilineOption);
    for (auto it = count.globalMatch(out); it.hasNext();) {
        const auto match = it.next();
        printed[match.captured(1).toStdString()] = match.captured(2).toInt();
    }
    QVERIFY2(!printed.empty(), qPrintable(out));

    const auto where = QRegularExpression(QStringLiteral("they are in (\\S+\\.csv)$"),
                                          QRegularExpression::MultilineOption)
                           .match(err);
    QVERIFY2(where.hasMatch(), qPrintable(err));
    const fs::path recovery = where.captured(1).toStdString();
    QVERIFY2(fs::exists(recovery), recovery.c_str());

    // With room again, the history and the recovery file together hold every raise.
    fs::remove(disk.path / "filler");
    std::map<std::string, int> stored = raisedInCsv(recovery);
    AlarmHistory history(historyPath);
    for (const AlarmTransition& t : history.query())
        stored[std::string(nameOf(t.kind))] += t.transition == Transition::Raised ? 1 : 0;
    std::erase_if(stored, [](const auto& entry) { return entry.second == 0; });
    QCOMPARE(stored, printed);
}

} // namespace merv::panel

QTEST_MAIN(merv::panel::tst_PanelFullDisk)
#include "tst_PanelFullDisk.moc"
