#ifndef WDLC_TESTS_DOCUMENTEXAMPLES_H
#define WDLC_TESTS_DOCUMENTEXAMPLES_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <ostream>

// The examples of a markdown document under docs/, as the document states
// them. The convention (also in a comment at the top of each document):
//
// - ```wdl            a file of the example: the wizard itself, main.wdl
// - ```wdl file=NAME  another WDL file of the example (an INCLUDE target)
// - ```xml file=NAME  a translation or other XML file beside the wizard
// - ```hex file=NAME  a binary file (a CSIV file), written as hex byte pairs
// - ```wdl fragment   WDL shown for its shape only: never compiled
// - any block with "shared" after its file name is written beside every
//   later example of the document, so that examples can INCLUDE it
//
// An example is every file block since the previous outcome, prose between
// them allowed. Its outcome closes it:
//
// - <!-- outcome: clean -->  on a line of its own: `wdltool check main.wdl`
//   prints "no warnings", and wdlc writes an image without a single warning
//   that reads back whole, with one dictionary more for each translation file
//   and every CSIV file of the example embedded;
// - a ```warnings block: exactly what `wdltool check main.wdl` prints, summary
//   line included, and wdlc writes no image. "<dir>" stands for the
//   example's directory; a line "..." for any number of lines;
// - an ```errors block: exactly the warnings file main.wdl_errors.txt that
//   `wdlc main.wdl` writes (tabs as in the file, "<dir>" as above), for a
//   message that check gives in words of its own.
//
// Other blocks (```sh, ```text, plain ```) are prose to the extractor.
struct DocumentExample
{
    enum class Outcome { Clean, Warnings, WarningsFile, Fragment };

    struct File
    {
        QString name;
        QByteArray bytes;
    };

    // "language_120": the document's base name and the line of the first block.
    QString name;
    QString document;
    int line = 0;
    QList<File> files;
    Outcome outcome = Outcome::Clean;
    // The check output a Warnings example states, or the warnings file a
    // WarningsFile example states, line by line.
    QStringList checkOutput;

    friend void PrintTo(const DocumentExample &example, std::ostream *os)
    {
        *os << example.document.toStdString() << ':' << example.line;
    }
};

struct DocumentExamples
{
    QList<DocumentExample> examples;
    // Breaches of the convention, each as "document:line: what is wrong".
    QStringList problems;
};

DocumentExamples extractDocumentExamples(const QString &document, const QString &markdown);

#endif
