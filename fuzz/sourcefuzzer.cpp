// The lossless layer and the layout formatter: any bytes come back byte for
// byte, the layer splits lines as the reader does, and formatting a second
// time changes nothing, in either handling of blank lines.

#include "fuzzsupport.h"

#include "output/wdlsourceformatter.h"
#include "reader/linesource.h"
#include "reader/wdlline.h"
#include "reader/wdlsourcefile.h"

#include <QTemporaryDir>

#include <cstdlib>

namespace {

void require(bool holds)
{
    if (!holds)
        std::abort();
}

// The reader's lines, read back from the file the input was written to.
void agreesWithReader(const WdlSourceFile &file, const QString &path)
{
    LineSource source;
    require(source.open(path));
    for (const WdlSourceFile::Line &line : file.lines()) {
        require(!source.atEnd());
        const QString text = source.readLine();
        const QString code = WdlLine::significant(text);
        require(line.text() == text && line.code() == code);
        const QStringList words = WdlLine::words(code);
        require(words.size() == line.words.size());
        for (int i = 0; i < words.size(); ++i)
            require(words.at(i) == line.words.at(i).text);
    }
    require(source.atEnd());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzzsupport::init(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    const WdlSourceFile file = WdlSourceFile::fromBytes(bytes);
    require(file.bytes() == bytes);

    const QString path = dir.filePath(QStringLiteral("main.wdl"));
    fuzzsupport::writeFile(path, data, size);
    agreesWithReader(file, path);

    for (const auto blankLines : {WdlSourceFormatter::CollapseBlankLines, WdlSourceFormatter::KeepLineNumbers}) {
        const QByteArray once = WdlSourceFormatter::format(file, blankLines);
        const WdlSourceFile formatted = WdlSourceFile::fromBytes(once);
        require(formatted.bytes() == once);
        require(WdlSourceFormatter::format(formatted, blankLines) == once);
        if (blankLines == WdlSourceFormatter::KeepLineNumbers)
            require(formatted.lines().size() == file.lines().size());
    }
    return 0;
}
