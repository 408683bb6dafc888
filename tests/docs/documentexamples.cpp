#include "docs/documentexamples.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QString kMainFile = QStringLiteral("main.wdl");

// The info string of an opening fence: "wdl file=common/texts.wdl shared".
struct Fence
{
    QString language;
    QString file;
    bool fragment = false;
    bool shared = false;
    QStringList unknown;
};

Fence parseFence(const QString &info)
{
    Fence fence;
    const QStringList words = info.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    fence.language = words.value(0);
    for (int i = 1; i < words.size(); ++i) {
        const QString &word = words.at(i);
        if (word.startsWith(QLatin1String("file=")))
            fence.file = word.mid(5);
        else if (word == QLatin1String("fragment"))
            fence.fragment = true;
        else if (word == QLatin1String("shared"))
            fence.shared = true;
        else
            fence.unknown.append(word);
    }
    return fence;
}

bool isFileLanguage(const QString &language)
{
    return language == QLatin1String("wdl") || language == QLatin1String("xml") || language == QLatin1String("hex");
}

// Pairs of hex digits separated by white space; false at anything else.
bool hexBytes(const QString &text, QByteArray *bytes)
{
    for (const QString &pair : text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int value = pair.toInt(&ok, 16);
        if (!ok || pair.size() != 2)
            return false;
        bytes->append(char(value));
    }
    return true;
}

class Extractor
{
public:
    explicit Extractor(const QString &document) : m_document(document) {}

    void read(const QStringList &lines);
    DocumentExamples result() { return {m_examples, m_problems}; }

private:
    void problem(int line, const QString &what)
    {
        m_problems.append(m_document + QLatin1Char(':') + QString::number(line) + QStringLiteral(": ") + what);
    }
    void onBlock(int line, const Fence &fence, const QString &body);
    void close(int line, DocumentExample::Outcome outcome, const QStringList &checkOutput);

    QString m_document;
    QList<DocumentExample::File> m_pending;
    int m_pendingLine = 0;
    QList<DocumentExample::File> m_shared;
    QList<DocumentExample> m_examples;
    QStringList m_problems;
};

void Extractor::read(const QStringList &lines)
{
    for (int i = 0; i < lines.size(); ++i) {
        const QString trimmed = lines.at(i).trimmed();
        // A comment of several lines is invisible prose, such as the
        // convention at the top of a document, fences and all.
        if (trimmed.startsWith(QLatin1String("<!--")) && !trimmed.contains(QLatin1String("-->"))) {
            while (i < lines.size() && !lines.at(i).contains(QLatin1String("-->")))
                ++i;
            continue;
        }
        if (trimmed.startsWith(QLatin1String("```"))) {
            const int opening = i + 1;
            QStringList body;
            for (++i; i < lines.size() && !lines.at(i).trimmed().startsWith(QLatin1String("```")); ++i)
                body.append(lines.at(i));
            if (i == lines.size())
                problem(opening, QStringLiteral("the block is never closed"));
            const QString text = body.isEmpty() ? QString() : body.join(QLatin1Char('\n')) + QLatin1Char('\n');
            onBlock(opening, parseFence(trimmed.mid(3)), text);
        } else if (trimmed == QLatin1String("<!-- outcome: clean -->")) {
            close(i + 1, DocumentExample::Outcome::Clean, {});
        } else if (trimmed.contains(QLatin1String("<!-- outcome"))) {
            problem(i + 1, QStringLiteral("an outcome comment reads <!-- outcome: clean --> on a line of its own"));
        }
    }
    if (!m_pending.isEmpty())
        problem(m_pendingLine, QStringLiteral("the example has no outcome"));
}

void Extractor::onBlock(int line, const Fence &fence, const QString &body)
{
    const bool fileBlock = isFileLanguage(fence.language);
    if (fence.language == QLatin1String("warnings")) {
        close(line, DocumentExample::Outcome::Warnings, body.split(QLatin1Char('\n'), Qt::SkipEmptyParts));
        return;
    }
    if (fence.language == QLatin1String("errors")) {
        close(line, DocumentExample::Outcome::WarningsFile, body.split(QLatin1Char('\n'), Qt::SkipEmptyParts));
        return;
    }
    if (!fileBlock)
        return;
    if (!fence.unknown.isEmpty())
        problem(line, QStringLiteral("unknown words in the info string: ") + fence.unknown.join(QLatin1Char(' ')));
    if (fence.fragment) {
        DocumentExample fragment;
        fragment.document = m_document;
        fragment.line = line;
        fragment.name = QFileInfo(m_document).completeBaseName() + QLatin1Char('_') + QString::number(line);
        fragment.outcome = DocumentExample::Outcome::Fragment;
        fragment.files.append({kMainFile, body.toUtf8()});
        m_examples.append(fragment);
        return;
    }
    DocumentExample::File file{fence.file, body.toUtf8()};
    if (file.name.isEmpty()) {
        if (fence.language != QLatin1String("wdl"))
            problem(line, QStringLiteral("a ") + fence.language + QStringLiteral(" block needs file=NAME"));
        file.name = kMainFile;
    }
    if (fence.language == QLatin1String("hex")) {
        file.bytes.clear();
        if (!hexBytes(body, &file.bytes))
            problem(line, QStringLiteral("a hex block holds pairs of hex digits only"));
    }
    if (fence.shared) {
        m_shared.append(file);
        return;
    }
    for (const DocumentExample::File &earlier : qAsConst(m_pending)) {
        if (earlier.name == file.name)
            problem(line, QStringLiteral("the example already has a file ") + file.name
                              + QStringLiteral(" (is an outcome missing above?)"));
    }
    if (m_pending.isEmpty())
        m_pendingLine = line;
    m_pending.append(file);
}

void Extractor::close(int line, DocumentExample::Outcome outcome, const QStringList &checkOutput)
{
    if (m_pending.isEmpty()) {
        problem(line, QStringLiteral("an outcome without an example above it"));
        return;
    }
    DocumentExample example;
    example.document = m_document;
    example.line = m_pendingLine;
    example.name = QFileInfo(m_document).completeBaseName() + QLatin1Char('_') + QString::number(m_pendingLine);
    example.files = m_pending;
    example.outcome = outcome;
    example.checkOutput = checkOutput;
    bool hasMain = false;
    for (const DocumentExample::File &file : qAsConst(m_pending))
        hasMain = hasMain || file.name == kMainFile;
    if (!hasMain)
        problem(m_pendingLine, QStringLiteral("the example has no ```wdl block without file=, its main.wdl"));
    // An example's own file of the same name wins over a shared one.
    for (const DocumentExample::File &shared : qAsConst(m_shared)) {
        bool own = false;
        for (const DocumentExample::File &file : qAsConst(m_pending))
            own = own || file.name == shared.name;
        if (!own)
            example.files.append(shared);
    }
    m_examples.append(example);
    m_pending.clear();
}

} // namespace

DocumentExamples extractDocumentExamples(const QString &document, const QString &markdown)
{
    Extractor extractor(document);
    extractor.read(markdown.split(QLatin1Char('\n')));
    return extractor.result();
}
