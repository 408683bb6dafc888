// The Debian package that `cpack -G DEB` makes of this build: its control
// data, its files, and, where the test runs as root, that dpkg installs it
// and the installed programs run.

#include "support/process.h"
#include "support/wizardfiles.h"

#include <QDeadlineTimer>
#include <QLockFile>
#include <QRegularExpression>
#include <QThread>

#include <unistd.h>

namespace {

// Builds the package into dir; its path, or empty with the reason in *why.
QString buildPackage(const QString &dir, std::string *why)
{
    for (const char *tool : {"dpkg-deb", "dpkg-shlibdeps", "file"}) {
        if (programOnPath(tool).isEmpty()) {
            *why = std::string(tool) + " is not installed (./test.sh installs dpkg-dev and file)";
            return QString();
        }
    }
    const ProcessRun cpack = runProcess(
        QStringLiteral(WDLC_CPACK), {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("-B"), dir,
                                     QStringLiteral("--config"), QStringLiteral(WDLC_BINARY_DIR "/CPackConfig.cmake")});
    const QStringList debs = QDir(dir).entryList({QStringLiteral("*.deb")}, QDir::Files);
    if (cpack.status != 0 || debs.size() != 1) {
        *why = "cpack made no package: " + cpack.describe();
        return QString();
    }
    return QDir(dir).filePath(debs.first());
}

QString dpkgArchitecture()
{
    return QString::fromUtf8(
        runProcess(QStringLiteral("dpkg"), {QStringLiteral("--print-architecture")}).out.trimmed());
}

// The package names of a Depends field ("libc6 (>= 2.34), libfoo"), sorted;
// a name without a version bound is returned with " (unbounded)".
QStringList dependencyNames(const QString &depends)
{
    QStringList out;
    static const QRegularExpression entry(QStringLiteral("^([a-z0-9.+-]+)( \\(>= [^)]+\\))?$"));
    for (const QString &part : depends.split(QStringLiteral(", "))) {
        const QRegularExpressionMatch m = entry.match(part.trimmed());
        out.append(!m.hasMatch()
                       ? QStringLiteral("malformed: ") + part
                       : m.captured(1) + (m.captured(2).isEmpty() ? QStringLiteral(" (unbounded)") : QString()));
    }
    out.sort();
    return out;
}

TEST(DebianPackage, CarriesTheProjectsNameVersionDependenciesAndFiles)
{
    WizardFiles dir;
    std::string why;
    const QString deb = buildPackage(dir.dir(), &why);
    if (deb.isEmpty() && why.find("not installed") != std::string::npos)
        GTEST_SKIP() << why;
    ASSERT_FALSE(deb.isEmpty()) << why;
    EXPECT_EQ(QFileInfo(deb).fileName(),
              QStringLiteral("wdlc_" WDLC_VERSION "_") + dpkgArchitecture() + QStringLiteral(".deb"));

    const auto field = [&deb](const char *name) {
        return QString::fromUtf8(
            runProcess(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), deb, QString::fromUtf8(name)}).out.trimmed());
    };
    EXPECT_EQ(field("Package"), QStringLiteral("wdlc"));
    EXPECT_EQ(field("Version"), QStringLiteral(WDLC_VERSION));
    EXPECT_EQ(field("Architecture"), dpkgArchitecture());
    EXPECT_EQ(field("Section"), QStringLiteral("devel"));
    EXPECT_EQ(field("Suggests"), QStringLiteral("graphviz"));
    EXPECT_TRUE(
        field("Description").startsWith(QStringLiteral("compiler for drive panel wizards (WDL to SAS images)\n")))
        << field("Description").toStdString();
    EXPECT_FALSE(field("Maintainer").isEmpty());
    // Computed from the binaries, each with the lowest version the binaries
    // need; a sanitizer build adds its runtime libraries, whose versions
    // dpkg-shlibdeps does not know.
    const QStringList depends = dependencyNames(field("Depends"));
    for (const char *needed : {"libc6", "libqt5core5a", "libstdc++6"})
        EXPECT_TRUE(depends.contains(QString::fromUtf8(needed)))
            << needed << " missing or without a version in " << field("Depends").toStdString();
    for (const QString &name : depends)
        EXPECT_FALSE(name.startsWith(QLatin1String("malformed"))) << name.toStdString();

    // dpkg-deb -c lists "mode owner/group size date time path"; size and
    // time vary with the build.
    const ProcessRun contents = runProcess(QStringLiteral("dpkg-deb"), {QStringLiteral("-c"), deb});
    ASSERT_EQ(contents.status, 0) << contents.describe();
    QStringList listed;
    for (const QString &line : QString::fromUtf8(contents.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList columns = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        listed.append(columns.value(0) + QLatin1Char(' ') + columns.value(1) + QLatin1Char(' ') + columns.value(5));
    }
    listed.sort();
    EXPECT_EQ((listed.join(QLatin1Char('\n')) + QLatin1Char('\n')).toStdString(),
              "-rw-r--r-- root/root ./usr/share/bash-completion/completions/wdltool\n"
              "-rw-r--r-- root/root ./usr/share/man/man1/wdlc.1.gz\n"
              "-rw-r--r-- root/root ./usr/share/man/man1/wdltool.1.gz\n"
              "-rwxr-xr-x root/root ./usr/bin/wdlc\n"
              "-rwxr-xr-x root/root ./usr/bin/wdltool\n"
              "drwxr-xr-x root/root ./usr/\n"
              "drwxr-xr-x root/root ./usr/bin/\n"
              "drwxr-xr-x root/root ./usr/share/\n"
              "drwxr-xr-x root/root ./usr/share/bash-completion/\n"
              "drwxr-xr-x root/root ./usr/share/bash-completion/completions/\n"
              "drwxr-xr-x root/root ./usr/share/man/\n"
              "drwxr-xr-x root/root ./usr/share/man/man1/\n");
}

// dpkg, retried while another dpkg or apt holds its lock.
ProcessRun dpkg(const QStringList &arguments)
{
    QDeadlineTimer deadline(120000);
    for (;;) {
        const ProcessRun run = runProcess(QStringLiteral("dpkg"), arguments);
        if (run.status == 0 || !run.err.contains("lock") || deadline.hasExpired())
            return run;
        QThread::sleep(2);
    }
}

bool wdlcPackageInstalled()
{
    return runProcess(QStringLiteral("dpkg-query"),
                      {QStringLiteral("-W"), QStringLiteral("-f=${Status}"), QStringLiteral("wdlc")})
        .out.contains("install ok installed");
}

// Removes the package when the test ends, however it ends.
struct PackageRemoval
{
    ~PackageRemoval()
    {
        const ProcessRun removal = dpkg({QStringLiteral("-r"), QStringLiteral("wdlc")});
        EXPECT_EQ(removal.status, 0) << removal.describe();
        EXPECT_FALSE(wdlcPackageInstalled());
    }
};

TEST(DebianPackage, InstallsWithDpkgAndItsProgramsRun)
{
    if (geteuid() != 0 || programOnPath("dpkg").isEmpty())
        GTEST_SKIP() << "installing a package needs root and dpkg";
    // Builds in other checkouts on this machine run this test too.
    QLockFile lock(QDir::temp().filePath(QStringLiteral("wdlc-package-install-test.lock")));
    lock.setStaleLockTime(0);
    ASSERT_TRUE(lock.tryLock(600000)) << "another run of this test holds the lock for ten minutes";
    if (wdlcPackageInstalled())
        GTEST_SKIP() << "a wdlc package is installed on this machine already; this test leaves it alone";
    WizardFiles dir;
    std::string why;
    const QString deb = buildPackage(dir.dir(), &why);
    if (deb.isEmpty() && why.find("not installed") != std::string::npos)
        GTEST_SKIP() << why;
    ASSERT_FALSE(deb.isEmpty()) << why;

    const ProcessRun install = dpkg({QStringLiteral("-i"), deb});
    PackageRemoval removal;
    ASSERT_EQ(install.status, 0) << install.describe();
    EXPECT_TRUE(wdlcPackageInstalled());

    const ProcessRun version = runProcess(QStringLiteral("/usr/bin/wdltool"), {QStringLiteral("--version")});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.startsWith("wdltool " WDLC_VERSION " (revision ")) << version.describe();
    WizardFiles wizards;
    wizards.copyTree(QStringLiteral(WDLC_SOURCE_DIR "/examples"));
    const ProcessRun compile = runProcess(QStringLiteral("/usr/bin/wdlc"), {QStringLiteral("motor_data.wdl")},
                                          wizards.path(QStringLiteral("motor")));
    EXPECT_EQ(compile.status, 0);
    const ProcessRun check = runProcess(QStringLiteral("/usr/bin/wdltool"),
                                        {QStringLiteral("dump"), QStringLiteral("motor_data.wdl.sas")},
                                        wizards.path(QStringLiteral("motor")));
    EXPECT_EQ(check.status, 0) << check.describe();
    if (!programOnPath("man").isEmpty()) {
        const ProcessRun where = runProcess(QStringLiteral("man"), {QStringLiteral("-w"), QStringLiteral("wdltool")});
        EXPECT_EQ(where.out, QByteArray("/usr/share/man/man1/wdltool.1.gz\n")) << where.describe();
    }
}

} // namespace
