// What `cmake --install` puts under a prefix, and that the installed programs
// run from there.

#include "support/process.h"
#include "support/wizardfiles.h"

#include <QDirIterator>
#include <QRegularExpression>

namespace {

// cmake --install of this build into prefix.
ProcessRun installInto(const QString &prefix)
{
    return runProcess(QStringLiteral(WDLC_CMAKE), {QStringLiteral("--install"), QStringLiteral(WDLC_BINARY_DIR),
                                                   QStringLiteral("--prefix"), prefix});
}

// Every file below dir as "<octal permissions> <relative path>", sorted.
QStringList filesWithModes(const QString &dir)
{
    QStringList out;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileDevice::Permissions p = QFile::permissions(path);
        const int mode = (p & QFileDevice::ReadOwner ? 0400 : 0) | (p & QFileDevice::WriteOwner ? 0200 : 0)
                         | (p & QFileDevice::ExeOwner ? 0100 : 0) | (p & QFileDevice::ReadGroup ? 040 : 0)
                         | (p & QFileDevice::WriteGroup ? 020 : 0) | (p & QFileDevice::ExeGroup ? 010 : 0)
                         | (p & QFileDevice::ReadOther ? 04 : 0) | (p & QFileDevice::WriteOther ? 02 : 0)
                         | (p & QFileDevice::ExeOther ? 01 : 0);
        out.append(QString::number(mode, 8) + QLatin1Char(' ') + QDir(dir).relativeFilePath(path));
    }
    out.sort();
    return out;
}

// What `git describe` says of the source tree's last commit, as the build
// must have recorded it: "unknown" when the tree is no checkout of its own.
// Whether the tree has changed since (-dirty) is left out: a golden file
// rewritten after the build must not fail this test.
QString sourceRevision()
{
    const QString git = programOnPath("git");
    if (git.isEmpty())
        return QStringLiteral("unknown");
    const QString source = QStringLiteral(WDLC_SOURCE_DIR);
    const ProcessRun top = runProcess(
        git, {QStringLiteral("-C"), source, QStringLiteral("rev-parse"), QStringLiteral("--show-toplevel")});
    if (top.status != 0
        || QFileInfo(QString::fromUtf8(top.out.trimmed())).canonicalFilePath() != QFileInfo(source).canonicalFilePath())
        return QStringLiteral("unknown");
    const ProcessRun described = runProcess(
        git, {QStringLiteral("-C"), source, QStringLiteral("describe"), QStringLiteral("--always")});
    return described.status == 0 ? QString::fromUtf8(described.out.trimmed()) : QStringLiteral("unknown");
}

TEST(Install, PutsTheProgramsManualsAndCompletionUnderThePrefix)
{
    WizardFiles prefix;
    const ProcessRun install = installInto(prefix.dir());
    ASSERT_EQ(install.status, 0) << install.describe();
    EXPECT_EQ(filesWithModes(prefix.dir()), (QStringList{
                                                QStringLiteral("644 share/bash-completion/completions/wdltool"),
                                                QStringLiteral("644 share/man/man1/wdlc.1.gz"),
                                                QStringLiteral("644 share/man/man1/wdltool.1.gz"),
                                                QStringLiteral("755 bin/wdlc"),
                                                QStringLiteral("755 bin/wdltool"),
                                            }));
}

// The installed wdltool reports this version and the revision the source
// tree is at; the installed wdlc compiles the pump example (three languages,
// a CSIV file) to the same bytes as the wdlc in the build folder, silently,
// and the installed wdltool finds the image sound.
TEST(Install, InstalledProgramsRunFromThePrefix)
{
    WizardFiles prefix;
    const ProcessRun install = installInto(prefix.dir());
    ASSERT_EQ(install.status, 0) << install.describe();
    const QString wdltool = prefix.path(QStringLiteral("bin/wdltool"));

    const ProcessRun version = runProcess(wdltool, {QStringLiteral("--version")});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(QString::fromUtf8(version.out).remove(QStringLiteral("-dirty")),
              QStringLiteral("wdltool " WDLC_VERSION " (revision ") + sourceRevision() + QStringLiteral(")\n"))
        << "a build after the last commit updates the revision";
    EXPECT_EQ(version.err, QByteArray());

    WizardFiles installed;
    WizardFiles built;
    installed.copyTree(QStringLiteral(WDLC_SOURCE_DIR "/examples"));
    built.copyTree(QStringLiteral(WDLC_SOURCE_DIR "/examples"));
    const QStringList arguments{QStringLiteral("pump_commissioning.wdl"), QStringLiteral("pump.sas")};
    const ProcessRun compile = runProcess(prefix.path(QStringLiteral("bin/wdlc")), arguments,
                                          installed.path(QStringLiteral("pump")));
    EXPECT_EQ(compile.status, 0);
#ifdef QT_NO_DEBUG_OUTPUT
    EXPECT_EQ(compile.out + compile.err, QByteArray()) << "wdlc is silent";
#endif
    const ProcessRun reference = runProcess(QStringLiteral(WDLC_BINARY_DIR "/wdlc"), arguments,
                                            built.path(QStringLiteral("pump")));
    EXPECT_EQ(reference.status, 0);
    const QByteArray image = readFile(installed.path(QStringLiteral("pump/pump.sas")));
    ASSERT_FALSE(image.isEmpty())
        << readFile(installed.path(QStringLiteral("pump/pump_commissioning.wdl_errors.txt"))).toStdString();
    EXPECT_TRUE(image == readFile(built.path(QStringLiteral("pump/pump.sas"))));

    const ProcessRun dump = runProcess(wdltool, {QStringLiteral("dump"), QStringLiteral("pump.sas")},
                                       installed.path(QStringLiteral("pump")));
    EXPECT_EQ(dump.status, 0) << dump.describe();
    EXPECT_TRUE(dump.out.contains("Dictionaries: 3 from offset")) << dump.describe();
}

} // namespace
