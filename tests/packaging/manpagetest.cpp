// The manual pages: groff formats them without a warning, and wdltool's page
// has a section for every command with an entry (.TP) for every option its
// help lists.

#include "packaging/helptexts.h"
#include "support/process.h"

namespace {

class ManPage : public ::testing::TestWithParam<const char *>
{
};

// The page as the build compressed it for installing, with the version put in.
TEST_P(ManPage, FormatsWithoutWarnings)
{
    const QString man = programOnPath("man");
    if (man.isEmpty())
        GTEST_SKIP() << "man is not installed (./test.sh installs man-db)";
    const QString page = QStringLiteral(WDLC_BINARY_DIR "/man/") + QString::fromUtf8(GetParam())
                         + QStringLiteral(".gz");
    ASSERT_TRUE(QFileInfo::exists(page)) << page.toStdString();
    const ProcessRun run = runProcess(
        man, {QStringLiteral("--warnings"), QStringLiteral("-E"), QStringLiteral("UTF-8"), QStringLiteral("-l"), page},
        QString(), {QStringLiteral("MANWIDTH=80")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err.toStdString(), "");
    EXPECT_TRUE(run.out.contains("wdlc " WDLC_VERSION)) << run.out.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Pages, ManPage, ::testing::Values("wdlc.1", "wdltool.1"),
                         [](const ::testing::TestParamInfo<const char *> &info) {
                             return QString::fromUtf8(info.param).remove(QLatin1Char('.')).toStdString();
                         });

// The page's source split at its .SH and .SS lines, font changes dropped and
// escaped hyphens made plain: section title -> text. Subsections are keyed
// "SECTION/first word of the subsection title".
QMap<QString, QString> manSections(const QString &path)
{
    QString source = QString::fromUtf8(readFile(path));
    source.remove(QRegularExpression(QStringLiteral("\\\\f[BIRP]")))
        .replace(QStringLiteral("\\-"), QStringLiteral("-"));
    QMap<QString, QString> out;
    QString section;
    QString key;
    for (const QString &line : source.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String(".SH "))) {
            section = line.mid(4).remove(QLatin1Char('"'));
            key = section;
        } else if (line.startsWith(QLatin1String(".SS "))) {
            key = section + QLatin1Char('/') + line.mid(4).remove(QLatin1Char('"')).section(QLatin1Char(' '), 0, 0);
        }
        out[key] += line + QLatin1Char('\n');
    }
    return out;
}

// Whether one of the section's .TP tags (the line after .TP) names the option.
bool describes(const QString &section, const QString &option)
{
    const QRegularExpression word(QStringLiteral("(^|[^\\w-])") + QRegularExpression::escape(option)
                                  + QStringLiteral("($|[^\\w-])"));
    const QStringList lines = section.split(QLatin1Char('\n'));
    for (int i = 1; i < lines.size(); ++i) {
        if (lines.at(i - 1) == QLatin1String(".TP") && lines.at(i).contains(word))
            return true;
    }
    return false;
}

const char kWdltoolPage[] = WDLC_SOURCE_DIR "/man/wdltool.1.in";

TEST(WdltoolManPage, HasASectionForEveryCommandAndNoOther)
{
    QStringList documented;
    const QMap<QString, QString> sections = manSections(QString::fromUtf8(kWdltoolPage));
    for (const QString &key : sections.keys()) {
        if (key.startsWith(QLatin1String("COMMANDS/")))
            documented.append(key.mid(9));
    }
    QStringList commands = helpCommands();
    ASSERT_FALSE(commands.isEmpty());
    commands.sort();
    documented.sort();
    EXPECT_EQ(documented, commands);
    for (const QString &command : commands)
        EXPECT_TRUE(sections.value(QStringLiteral("SYNOPSIS")).contains(QStringLiteral(".B wdltool ") + command))
            << command.toStdString() << " is missing from the SYNOPSIS";
}

TEST(WdltoolManPage, ListsEveryOptionOfEveryCommand)
{
    const QMap<QString, QString> sections = manSections(QString::fromUtf8(kWdltoolPage));
    const QStringList global = helpOptions();
    ASSERT_FALSE(global.isEmpty());
    for (const QString &option : global)
        EXPECT_TRUE(describes(sections.value(QStringLiteral("OPTIONS")), option)) << option.toStdString();
    for (const QString &command : helpCommands()) {
        const QString text = sections.value(QStringLiteral("COMMANDS/") + command);
        for (const QString &option : helpOptions(command))
            EXPECT_TRUE(describes(text, option)) << "wdltool " << command.toStdString() << ' ' << option.toStdString();
    }
}

} // namespace
