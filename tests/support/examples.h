#ifndef WDLC_TESTS_EXAMPLES_H
#define WDLC_TESTS_EXAMPLES_H

#include <QDir>
#include <QDirIterator>
#include <QStringList>

// The top-level example wizards: every .wdl under examples/ except the shared
// files in examples/common/, which only exist to be included.
inline QStringList exampleWizards()
{
    QStringList out;
    const QString root = QStringLiteral(WDLC_SOURCE_DIR "/examples");
    QDirIterator it(root, {QStringLiteral("*.wdl")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!path.startsWith(root + QStringLiteral("/common/")))
            out.append(path);
    }
    out.sort();
    return out;
}

#endif
