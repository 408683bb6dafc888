#include "wizardgenerator.h"

#include <QDir>
#include <QFile>
#include <QMetaEnum>
#include <QTextStream>

#include "output/savewdl.h"

namespace {

constexpr int kTextsPerK = 300;
constexpr int kDriveParametersPerK = 60;
constexpr int kLocalParametersPerK = 20;
constexpr int kChoiceListsPerK = 5;
constexpr int kFiltersPerK = 5;
constexpr int kOverlaysPerK = 20;
// Only virtual choice parameters can use a choice list, and the drive takes
// 40 virtual parameters: 30 choice and 10 plain ones.
constexpr int kVirtualChoiceParameters = 30;
constexpr int kVirtualParameters = 10;
constexpr int kSubroutinesPerK = 10;

QString n(int i)
{
    return QString::number(i);
}

// Drive parameters the wizard may not touch are skipped.
int parameterNumber(int i)
{
    int number = 1000 + i;
    const auto accessible = [](int v) {
        return v != 1423 && v != 1429 && v != 1598 && v != 1599 && (v < 9900 || v > 9999);
    };
    while (!accessible(number))
        number += 600;
    return number;
}

struct Plan
{
    explicit Plan(int k)
        : texts(kTextsPerK * k),
          driveParameters(kDriveParametersPerK * k),
          localParameters(kLocalParametersPerK * k),
          choiceLists(qMin(kChoiceListsPerK * k, kVirtualChoiceParameters)),
          filters(kFiltersPerK * k),
          overlays(kOverlaysPerK * k),
          subroutines(kSubroutinesPerK * k)
    {
        // Texts are used by the drive parameters' overrides, the overlays and
        // the virtual parameters' names first; the choice lists take the rest.
        firstListText = driveParameters + overlays + kVirtualChoiceParameters + kVirtualParameters;
        perList = (texts - firstListText + choiceLists - 1) / choiceLists;
    }
    int texts;
    int driveParameters;
    int localParameters;
    int choiceLists;
    int filters;
    int overlays;
    int subroutines;
    int firstListText;
    int perList;
};

QString textLine(int i)
{
    QString out = QStringLiteral("T: t") + n(i) + QStringLiteral(" \"Setting ") + n(i)
                  + QStringLiteral(" \u00e4\u00f6\u00fc \u2192 \u00b0C\"\n");
    if (i % 3 == 0)
        out += QStringLiteral("H: t") + n(i) + QStringLiteral(" \"Help for setting ") + n(i)
               + QStringLiteral(".\\nSecond line: \u00e9t\u00e9 \u6e29\u5ea6\"\n");
    return out;
}

QString lp(const Plan &plan, int i)
{
    return QStringLiteral("lp") + n(i % plan.localParameters);
}

} // namespace

QString WizardGenerator::wdlText(int k)
{
    const Plan plan(k);
    QString out;
    out += QStringLiteral("FILE_FORMAT_VERSION: 1.0\nFILE_VERSION: 1.0\nRUN_MODE: 1\nPRODUCT_TYPE: 417\n"
                          "PRODUCT_NAME: \"QX-417\"\nDATABASE_VERSION: 1.0\nFILE_NAME: \"stress\"\n\n");
    for (int i = 0; i < plan.texts; ++i)
        out += textLine(i);
    for (int i = 0; i < plan.filters; ++i)
        out += (i % 2 ? QStringLiteral("APF: f") : QStringLiteral("CLF: f")) + n(i) + QStringLiteral(" \"0,2-5\"\n");
    for (int i = 0; i < plan.localParameters; ++i)
        out += QStringLiteral("LP: lp") + n(i) + QStringLiteral(" = ") + n(i) + QLatin1Char('\n');
    for (int l = 0; l < plan.choiceLists; ++l) {
        out += QStringLiteral("CL: cl") + n(l) + QStringLiteral("\n{\n");
        for (int e = 0; e < plan.perList; ++e) {
            const int t = plan.firstListText + l * plan.perList + e;
            if (t < plan.texts)
                out += QStringLiteral("   t") + n(t) + (e == 1 ? QStringLiteral("*\n") : QStringLiteral("\n"));
        }
        out += QStringLiteral("}\n");
    }
    for (int s = 0; s < plan.subroutines; ++s)
        out += QStringLiteral("SUBROUTINE: sr") + n(s) + QStringLiteral("\n{\n   ADD ") + lp(plan, s) + QLatin1Char(' ')
               + lp(plan, s + 1) + QLatin1Char(' ') + lp(plan, s + 2) + QStringLiteral("\n   RET\n}\n");
    out += QStringLiteral("FIRST_SCREEN_SCRIPT: init\n{\n   CVP 0 lp0\n}\n");

    // Screens form one chain through NS; every fourth one also chooses with an NSS.
    QStringList screens;
    int screenCount = 0;
    const auto screenId = [](int i) { return QStringLiteral("s") + n(i); };
    const int parameterScreens = plan.driveParameters / 3 * 2;
    const int virtualScreens = kVirtualChoiceParameters;
    const int total = plan.overlays + parameterScreens + virtualScreens;
    int driveParameter = 0;
    int virtualChoice = 0;
    int virtualPlain = 0;
    int script = 0;
    int call = 0;
    for (int i = 0; i < total; ++i) {
        const QString id = screenId(screenCount++);
        QString block;
        if (i < plan.overlays) {
            block += QStringLiteral("SCREEN_OVERLAY: ") + id + QStringLiteral("\n{\n   OVERLAY: o") + n(i)
                     + QStringLiteral("\n   {\n      T: t") + n(plan.driveParameters + i)
                     + QStringLiteral("\n      OK_ACTION: GOTO_NEXT_SCREEN\n      BACK_ACTION: GOTO_PREVIOUS_SCREEN\n"
                                      "      CANCEL_ACTION: EXIT_WIZARD\n   }\n");
        } else if (i < plan.overlays + parameterScreens) {
            const bool dual = (i - plan.overlays) % 2 == 0;
            block += (dual ? QStringLiteral("SCREEN_DUAL_PARAM: ") : QStringLiteral("SCREEN_SINGLE_PARAM: ")) + id
                     + QStringLiteral("\n{\n");
            for (int p = 0; p < (dual ? 2 : 1); ++p) {
                const int d = driveParameter++;
                block += QStringLiteral("   P: dp") + n(d) + QLatin1Char(' ') + n(parameterNumber(d))
                         + QStringLiteral("\n   {\n      TO: t") + n(d) + QLatin1Char('\n');
                if (d < plan.filters)
                    block += (d % 2 ? QStringLiteral("      APF: f") : QStringLiteral("      CLF: f")) + n(d)
                             + QLatin1Char('\n');
                if (d % 6 == 0)
                    block += QStringLiteral("      WS: ws") + n(d) + QStringLiteral("\n      {\n         CPY dp") + n(d)
                             + QLatin1Char(' ') + lp(plan, d) + QStringLiteral("\n      }\n");
                block += QStringLiteral("   }\n");
            }
        } else {
            block += QStringLiteral("SCREEN_DUAL_PARAM: ") + id + QStringLiteral("\n{\n");
            const int c = virtualChoice++;
            block += QStringLiteral("   VCP: vcp") + n(c) + QStringLiteral("\n   {\n      T: t")
                     + n(plan.driveParameters + plan.overlays + c) + QStringLiteral("\n      CL: cl")
                     + n(c % plan.choiceLists) + QStringLiteral("\n      WS: wsv") + n(c)
                     + QStringLiteral("\n      {\n         CPY vcp") + n(c) + QLatin1Char(' ') + lp(plan, c)
                     + QStringLiteral("\n      }\n   }\n");
            if (virtualPlain < kVirtualParameters) {
                const int v = virtualPlain++;
                const QString name = QStringLiteral("t")
                                     + n(plan.driveParameters + plan.overlays + kVirtualChoiceParameters + v);
                block += QStringLiteral("   VP: vp") + n(v) + QStringLiteral("\n   {\n      T: ") + name
                         + QStringLiteral("\n      UT: ") + name
                         + QStringLiteral("\n      MIN: -100\n      MAX: 1000\n      VAL: 15\n      SCALE: -1\n   }\n");
            }
        }
        // Scripts of every type ride on the screens.
        const int kind = script++ % 4;
        if (kind == 0)
            block += QStringLiteral("   PRE_SCREEN_SCRIPT: pre") + n(i) + QStringLiteral("\n   {\n      CALL sr")
                     + n(call++ % plan.subroutines) + QStringLiteral("\n   }\n");
        else if (kind == 1)
            block += QStringLiteral("   PSS: pss") + n(i) + QStringLiteral("\n   {\n      CALL sr")
                     + n(call++ % plan.subroutines) + QStringLiteral("\n      SUB ") + lp(plan, i) + QLatin1Char(' ')
                     + lp(plan, i + 3) + QLatin1Char(' ') + lp(plan, i + 5) + QStringLiteral("\n   }\n");
        else if (kind == 2 && i + 2 < total)
            block += QStringLiteral("   NSS: nss") + n(i) + QStringLiteral("\n   {\n      BEQ ") + lp(plan, i)
                     + QLatin1Char(' ') + lp(plan, i + 1) + QStringLiteral(" 1\n      SNS ") + screenId(i + 1)
                     + QStringLiteral("\n      LBL 1\n      SNS ") + screenId(i + 2) + QStringLiteral("\n   }\n");
        if (i + 1 < total)
            block += QStringLiteral("   NS: ") + screenId(i + 1) + QLatin1Char('\n');
        block += QStringLiteral("}\n");
        out += block;
    }
    return out;
}

QString WizardGenerator::translationText(int k, const QString &language)
{
    const Plan plan(k);
    QString out = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n\t<translations language=\"")
                  + language + QStringLiteral("\">\n");
    for (int i = 0; i < plan.texts; ++i) {
        out += QStringLiteral("\t\t<text id=\"t") + n(i) + QStringLiteral("\" type=\"text\">") + language
               + QStringLiteral(" ") + n(i) + QStringLiteral(" \u00e5\u00df &lt;&amp;&gt;</text>\n");
        if (i % 3 == 0)
            out += QStringLiteral("\t\t<text id=\"t") + n(i) + QStringLiteral("\" type=\"help\">") + language
                   + QStringLiteral(" help ") + n(i) + QStringLiteral("\\nline two</text>\n");
    }
    out += QStringLiteral("\t</translations>\n</root>\n");
    return out;
}

QString WizardGenerator::linguistText(int k, const QString &language)
{
    const Plan plan(k);
    QString out = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n<TS version=\"2.1\">\n"
                                 "<context>\n    <name>wizard</name>\n");
    const auto message = [&out](const QString &source, const QString &translation) {
        out += QStringLiteral("    <message>\n        <source>") + source
               + QStringLiteral("</source>\n        <translation>") + translation
               + QStringLiteral("</translation>\n    </message>\n");
    };
    for (int i = 0; i < plan.texts; ++i) {
        message(QStringLiteral("Setting ") + n(i) + QStringLiteral(" \u00e4\u00f6\u00fc \u2192 \u00b0C"),
                language + QStringLiteral(" ") + n(i) + QStringLiteral(" \u00e5\u00df &lt;&amp;&gt;"));
        if (i % 3 == 0)
            message(QStringLiteral("Help for setting ") + n(i)
                        + QStringLiteral(".\nSecond line: \u00e9t\u00e9 \u6e29\u5ea6"),
                    language + QStringLiteral(" help ") + n(i) + QStringLiteral("\nline two"));
    }
    out += QStringLiteral("</context>\n</TS>\n");
    return out;
}

void WizardGenerator::writeLinguistFiles(const QString &directory, int k, int translations)
{
    QDir().mkpath(directory);
    const QMetaEnum languages = QMetaEnum::fromType<SaveWdl::Translations>();
    int written = 0;
    for (int i = 0; i < languages.keyCount() && written < translations; ++i) {
        const QString language = QString::fromLatin1(languages.key(i));
        if (language == QLatin1String("English"))
            continue;
        QFile file(directory + QStringLiteral("/wizard_") + language + QStringLiteral(".ts"));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(linguistText(k, language).toUtf8());
        ++written;
    }
}

QString WizardGenerator::write(const QString &directory, int k, int translations)
{
    QDir().mkpath(directory);
    const auto save = [](const QString &path, const QString &text) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(text.toUtf8());
    };
    const QString main = directory + QStringLiteral("/stress.wdl");
    save(main, wdlText(k));
    const QMetaEnum languages = QMetaEnum::fromType<SaveWdl::Translations>();
    int written = 0;
    for (int i = 0; i < languages.keyCount() && written < translations; ++i) {
        const QString language = QString::fromLatin1(languages.key(i));
        if (language == QLatin1String("English"))
            continue;
        save(directory + QStringLiteral("/translation_") + language + QStringLiteral(".xml"),
             translationText(k, language));
        ++written;
    }
    return main;
}
