#include "tool/graphcommand.h"

#include "core/fileurl.h"
#include "core/wdlwizard.h"
#include "tool/toolcommand.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QMultiHash>
#include <QSet>
#include <QTextStream>

#include <vector>

namespace {

// Screen ids are single words, so an id with a blank never meets one.
const QString kEntryNode = QStringLiteral("wizard start");
// Overlay texts are wrapped to lines of about this many characters.
constexpr int kWrapWidth = 30;

// A DOT string: quotes and backslashes escaped. Line breaks become DOT's "\n"
// in labels, which centres the lines.
QString quoted(const QString &text)
{
    QString out;
    for (QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c != QLatin1Char('\r'))
            out += c;
    }
    return QLatin1Char('"') + out + QLatin1Char('"');
}

QStringList wrapped(const QString &text)
{
    QStringList lines;
    for (const QString &paragraph : text.split(QLatin1Char('\n'))) {
        QString line;
        for (const QString &word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (!line.isEmpty() && line.size() + 1 + word.size() > kWrapWidth) {
                lines.append(line);
                line.clear();
            }
            line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
        }
        lines.append(line);
    }
    return lines;
}

QString parameterKeyword(const WdlTokenParam *param)
{
    switch (param->kind()) {
    case WdlTokenParam::KindVP:
        return QStringLiteral("VP: ");
    case WdlTokenParam::KindVCP:
        return QStringLiteral("VCP: ");
    default:
        return QStringLiteral("P: ");
    }
}

// The kind as the record sees it: an overlay first, then the parameter count.
QStringList screenLabel(const WdlTokenScreen *screen)
{
    QStringList lines{screen->id()};
    if (screen->hasOverlay()) {
        lines.append(QStringLiteral("SCREEN_OVERLAY"));
        const QString text = screen->getOverlayText();
        for (const QString &line : wrapped(QLatin1Char('"') + text + QLatin1Char('"')))
            lines.append(line);
        return lines;
    }
    static const char *const kinds[] = {"no overlay or parameter", "SCREEN_SINGLE_PARAM", "SCREEN_DUAL_PARAM"};
    const int count = screen->getParametersInScreen();
    lines.append(count < 3 ? QLatin1String(kinds[count]) : QLatin1String("more than two parameters"));
    for (const WdlTokenParam *param : screen->parameters())
        lines.append(parameterKeyword(param) + param->id());
    return lines;
}

struct Edge
{
    QString from;
    QString to;
    QString script; // empty for NS
};

// The node of an NSS script drawn on its own: screen ids are single words,
// so a name with a blank never meets one.
QString scriptNode(const WdlTokenScript *script)
{
    return QStringLiteral("script ") + script->id();
}

// The screen flow with each NSS script expanded once. A script used once
// (by one screen, or called by one script) is drawn as the edges of its
// user, its screens and those of the scripts it calls; a script used more
// often gets a node of its own, its edges drawn once from there, and its
// users lead to that node. So the graph grows with the wizard, however many
// screens share a script or call one.
class FlowEdges
{
public:
    FlowEdges(const QList<WdlTokenScreen *> &screens, const WizardItemsModel *screenModel,
              const WizardItemsModel *scripts)
        : m_screens(screenModel), m_scripts(scripts)
    {
        for (const WdlToken *item : scripts->items()) {
            const auto *script = static_cast<const WdlTokenScript *>(item);
            if (script->scriptType() != WdlTokenScript::ScriptType_NSS)
                continue;
            QSet<const WdlTokenScript *> called;
            for (const QString &word : words(script)) {
                if (const WdlTokenScript *callee = nssScript(word)) {
                    if (!called.contains(callee))
                        ++m_uses[callee];
                    called.insert(callee);
                }
            }
        }
        for (const WdlTokenScreen *screen : screens) {
            if (const WdlTokenScript *nss = screen->getNextScreenScript())
                ++m_uses[nss];
        }
        for (const WdlTokenScreen *screen : screens) {
            if (const WdlTokenScreen *next = screen->getNextScreen())
                m_edges.append({screen->id(), next->id(), QString()});
            if (const WdlTokenScript *nss = screen->getNextScreenScript()) {
                if (isShared(nss))
                    lead(screen->id(), nss, nss->id());
                else
                    expand(screen->id(), nss, nss->id());
            }
        }
        for (int i = 0; i < m_nodes.size(); ++i)
            expand(scriptNode(m_nodes.at(i)), m_nodes.at(i), m_nodes.at(i)->id());
    }

    const QList<Edge> &edges() const { return m_edges; }
    // The scripts drawn as nodes of their own, in the order first led to.
    const QList<const WdlTokenScript *> &scriptNodes() const { return m_nodes; }

private:
    bool isShared(const WdlTokenScript *script) const { return m_uses.value(script) > 1; }

    // The words of the script's SNS and CALL lines, as the reader takes them.
    const QStringList &words(const WdlTokenScript *script)
    {
        auto it = m_words.find(script);
        if (it != m_words.end())
            return it.value();
        QStringList out;
        for (int i = 0; i < script->commandCount(); ++i) {
            const ScriptCommand c = script->getCommand(i);
            if (!c.mnemonic.startsWith(QLatin1String("SNS")) && !c.mnemonic.startsWith(QLatin1String("CALL")))
                continue;
            QString last = c.mnemonic;
            for (const QString &argument : c.arguments) {
                if (!argument.isEmpty())
                    last = argument;
            }
            out.append(last);
        }
        return m_words.insert(script, out).value();
    }

    // The NSS script a word calls; null when it names a screen (which the
    // reader takes first) or no NSS script.
    const WdlTokenScript *nssScript(const QString &word) const
    {
        if (m_screens->containsId(word))
            return nullptr;
        const auto *script = m_scripts->byId<WdlTokenScript>(word);
        return script && script->scriptType() == WdlTokenScript::ScriptType_NSS ? script : nullptr;
    }

    void edge(const QString &from, const QString &to, const QString &label, QSet<QString> *drawn)
    {
        if (!drawn->contains(to))
            m_edges.append({from, to, label});
        drawn->insert(to);
    }

    // An edge to the node of a shared script, which is drawn once.
    void lead(const QString &from, const WdlTokenScript *script, const QString &label, QSet<QString> *drawn = nullptr)
    {
        QSet<QString> once;
        edge(from, scriptNode(script), label, drawn ? drawn : &once);
        if (!m_noded.contains(script))
            m_nodes.append(script);
        m_noded.insert(script);
    }

    // The edges from node for the screens root leads to, depth first in line
    // order through the scripts it calls, each at most once.
    void expand(const QString &node, const WdlTokenScript *root, const QString &label)
    {
        QSet<QString> drawn;
        QSet<const WdlTokenScript *> visited{root};
        struct Frame
        {
            const WdlTokenScript *script;
            int next;
        };
        std::vector<Frame> stack{{root, 0}};
        while (!stack.empty()) {
            Frame &top = stack.back();
            const QStringList &list = words(top.script);
            if (top.next == list.size()) {
                stack.pop_back();
                continue;
            }
            const QString &word = list.at(top.next++);
            if (m_screens->containsId(word)) {
                edge(node, word, label, &drawn);
            } else if (const WdlTokenScript *callee = nssScript(word)) {
                if (isShared(callee))
                    lead(node, callee, label, &drawn);
                else if (!visited.contains(callee)) {
                    visited.insert(callee);
                    stack.push_back({callee, 0});
                }
            }
        }
    }

    const WizardItemsModel *m_screens;
    const WizardItemsModel *m_scripts;
    QHash<const WdlTokenScript *, int> m_uses;
    QHash<const WdlTokenScript *, QStringList> m_words;
    QList<Edge> m_edges;
    QList<const WdlTokenScript *> m_nodes;
    QSet<const WdlTokenScript *> m_noded;
};

// Screens reached from the entry by NS and NSS edges, walked breadth first
// over the edges grouped by their screen, so that every edge is looked at once.
QSet<QString> reachable(const QString &entry, const QList<Edge> &edges)
{
    QMultiHash<QString, QString> targets;
    for (const Edge &e : edges)
        targets.insert(e.from, e.to);
    QSet<QString> seen{entry};
    QStringList queue{entry};
    for (int i = 0; i < queue.size(); ++i) {
        for (auto it = targets.constFind(queue.at(i)); it != targets.cend() && it.key() == queue.at(i); ++it) {
            if (!seen.contains(it.value())) {
                seen.insert(it.value());
                queue.append(it.value());
            }
        }
    }
    return seen;
}

} // namespace

QString GraphCommand::usage()
{
    return QStringLiteral("Usage: wdltool graph <wdl> [-o OUT]\n"
                          "\n"
                          "Writes the screen flow of the wizard as a Graphviz DOT graph: a node per\n"
                          "screen, solid edges for NS, dashed edges labelled with the script for the\n"
                          "screens an NSS script can lead to, screens nothing reaches in red.\n"
                          "Render it with: wdltool graph pump.wdl | dot -Tsvg -o pump.svg\n"
                          "\n"
                          "Options:\n"
                          "  -o, --output <OUT>  write the graph to OUT instead of standard output\n"
                          "  -h, --help          show this help\n"
                          "\n"
                          "Exit status: 0 when the graph is written, 1 when the wizard cannot be read\n"
                          "or OUT cannot be written, 2 for a usage error.\n");
}

QString GraphCommand::dot(WdlWizard *wizard, const QString &graphName)
{
    QList<WdlTokenScreen *> screens;
    for (WdlToken *item : wizard->screenModel()->items())
        screens.append(static_cast<WdlTokenScreen *>(item));
    const FlowEdges flow(screens, wizard->screenModel(), wizard->scriptModel());
    const QList<Edge> &edges = flow.edges();
    const QString entry = screens.isEmpty() ? QString() : screens.first()->id();
    const QSet<QString> reached = reachable(entry, edges);

    QString out = QStringLiteral("digraph ") + quoted(graphName) + QStringLiteral(" {\n");
    out += QStringLiteral("  node [shape=box, style=rounded, fontname=\"Helvetica\", fontsize=11];\n"
                          "  edge [fontname=\"Helvetica\", fontsize=9];\n");
    if (!screens.isEmpty()) {
        out += QStringLiteral("  ") + quoted(kEntryNode)
               + QStringLiteral(" [shape=circle, style=filled, fillcolor=black, label=\"\", width=0.2];\n");
    }

    QSet<QString> defined;
    for (const WdlTokenScreen *screen : qAsConst(screens)) {
        defined.insert(screen->id());
        QString attributes = QStringLiteral("label=") + quoted(screenLabel(screen).join(QLatin1Char('\n')));
        if (screen->id() == entry)
            attributes += QStringLiteral(", penwidth=2");
        if (!reached.contains(screen->id()))
            attributes += QStringLiteral(", color=red, fontcolor=red");
        out += QStringLiteral("  ") + quoted(screen->id()) + QStringLiteral(" [") + attributes + QStringLiteral("];\n");
    }
    for (const WdlTokenScript *script : flow.scriptNodes()) {
        const QString node = scriptNode(script);
        defined.insert(node);
        out += QStringLiteral("  ") + quoted(node) + QStringLiteral(" [shape=hexagon, style=dashed, label=")
               + quoted(script->id() + QStringLiteral("\nNSS script"))
               + (reached.contains(node) ? QString() : QStringLiteral(", color=red, fontcolor=red"))
               + QStringLiteral("];\n");
    }
    // A screen named by NS but never defined still gets a node, so that the
    // edge to it shows where the flow breaks.
    for (const Edge &e : edges) {
        if (defined.contains(e.to))
            continue;
        defined.insert(e.to);
        out += QStringLiteral("  ") + quoted(e.to) + QStringLiteral(" [label=")
               + quoted(e.to + QStringLiteral("\nnot defined")) + QStringLiteral(", style=dashed];\n");
    }

    if (!screens.isEmpty())
        out += QStringLiteral("  ") + quoted(kEntryNode) + QStringLiteral(" -> ") + quoted(entry)
               + QStringLiteral(";\n");
    for (const Edge &e : edges) {
        out += QStringLiteral("  ") + quoted(e.from) + QStringLiteral(" -> ") + quoted(e.to);
        if (!e.script.isEmpty())
            out += QStringLiteral(" [style=dashed, label=") + quoted(e.script) + QLatin1Char(']');
        out += QStringLiteral(";\n");
    }
    out += QStringLiteral("}\n");
    return out;
}

int GraphCommand::run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    const QCommandLineOption output(QStringList{QStringLiteral("o"), QStringLiteral("output")}, QString(),
                                    QStringLiteral("OUT"));
    parser.addOption(output);
    QString file;
    const QString missing = QStringLiteral("graph needs exactly one WDL file");
    const int status = ToolCommand::parseOneFile(parser, arguments, usage(), missing, out, err, &file);
    if (status != ToolCommand::Proceed)
        return status;

    WdlWizard *wizard = WdlWizard::instance();
    wizard->openWDLFile(FileUrl::fromLocalPath(file));
    if (wizard->isEmpty()) {
        err << "wdltool graph: cannot open " << file << '\n';
        err.flush();
        return ToolCommand::Failed;
    }
    // A wizard with warnings still has a flow worth seeing; say so and go on.
    const int warnings = wizard->warningsModel()->count();
    if (warnings > 0) {
        err << "wdltool graph: " << file << " has " << ToolCommand::counted(warnings, "warning", "warnings")
            << "; wdltool check lists them\n";
        err.flush();
    }

    const QString graph = dot(wizard, QFileInfo(file).completeBaseName());
    return ToolCommand::deliver("graph", parser.value(output), graph, out, err, &wizard->inputs());
}
