#include "items/wdltokenoverlay.h"
#include "items/wdltokenscript.h"
#include "reader/wdlparser.h"
#include "support/testsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMetaEnum>
#include <QRegularExpression>

namespace {

// Every "match" of the grammar, the repository's too.
QStringList matchesOf(const QJsonValue &value)
{
    QStringList out;
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (it.key() == QLatin1String("match"))
                out.append(it.value().toString());
            else
                out += matchesOf(it.value());
        }
    } else if (value.isArray()) {
        for (const QJsonValue &item : value.toArray())
            out += matchesOf(item);
    }
    return out;
}

QJsonObject grammar()
{
    return QJsonDocument::fromJson(
               readFile(QStringLiteral(WDLC_SOURCE_DIR "/editors/vscode/syntaxes/wdl.tmLanguage.json")))
        .object();
}

// The first scope the grammar gives a line, the patterns tried in order as
// an editor tries them.
QString scopeOf(const QString &line)
{
    const QJsonObject g = grammar();
    QJsonArray patterns;
    for (const QJsonValue &p : g[QStringLiteral("patterns")].toArray()) {
        const QString include = p[QStringLiteral("include")].toString();
        patterns.append(include.isEmpty() ? p : g[QStringLiteral("repository")][include.mid(1)]);
    }
    int best = line.size();
    QString scope;
    for (const QJsonValue &p : patterns) {
        const QRegularExpressionMatch m =
            QRegularExpression(p[QStringLiteral("match")].toString(), QRegularExpression::MultilineOption).match(line);
        if (m.hasMatch() && m.capturedStart() < best) {
            best = m.capturedStart();
            scope = p[QStringLiteral("name")].toString();
        }
    }
    return scope;
}

// The grammar of the VS Code extension knows every keyword, command and action
// that the reader knows, so that a new one cannot be left unhighlighted.
TEST(EditorGrammar, NamesEveryKeywordCommandAndAction)
{
    const QString all = matchesOf(grammar()).join(QLatin1Char('\n'));
    const auto words = [](const QMetaEnum &e, const char *skip) {
        QStringList out;
        for (int i = 0; i < e.keyCount(); ++i) {
            if (qstrcmp(e.key(i), skip) != 0)
                out.append(QLatin1String(e.key(i)));
        }
        return out;
    };
    QStringList expected = words(QMetaEnum::fromType<WdlParser::Commands>(), "")
                           + words(QMetaEnum::fromType<WdlTokenScript::CmdTypes>(), "UNDEFINED")
                           + words(QMetaEnum::fromType<WdlTokenOverlay::ActionTypes>(), "");
    QStringList missing;
    for (const QString &word : qAsConst(expected)) {
        if (!QRegularExpression(QStringLiteral("[(|]") + word + QStringLiteral("[|)]")).match(all).hasMatch())
            missing.append(word);
    }
    EXPECT_EQ(missing, QStringList());
    for (const QString &match : matchesOf(grammar()))
        EXPECT_TRUE(QRegularExpression(match).isValid()) << match.toStdString();
}

TEST(EditorGrammar, ScopesLinesAsTheReaderReadsThem)
{
    EXPECT_EQ(scopeOf(QStringLiteral("T: hello \"Hi # there\"")), QStringLiteral("meta.item.wdl"));
    EXPECT_EQ(scopeOf(QStringLiteral("# T: hello")), QStringLiteral("comment.line.wdl"));
    EXPECT_EQ(scopeOf(QStringLiteral("SCREEN_OVERLAY: start")), QStringLiteral("meta.screen.wdl"));
    EXPECT_EQ(scopeOf(QStringLiteral("   CPY a b")), QStringLiteral("meta.command.wdl"));
    EXPECT_EQ(scopeOf(QStringLiteral("   OK_ACTION: EXIT_WIZARD")), QStringLiteral("meta.key.wdl"));
    EXPECT_EQ(scopeOf(QStringLiteral("   {")), QStringLiteral("punctuation.section.block.wdl"));
}

} // namespace
