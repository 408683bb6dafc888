#ifndef WDLC_BUILDPRODUCTS_H
#define WDLC_BUILDPRODUCTS_H

#include <QByteArray>
#include <QList>
#include <QString>

// What one build of an image makes, kept in memory: the image and the
// translation template that wdlc would write, why it would write none, and
// the problems met while building (translation and CSIV files), each with the
// file it is about.
struct BuildProducts
{
    struct Problem
    {
        QString text;
        // The file the problem is about: a translation or CSIV file, or
        // empty for the wizard as a whole.
        QString file;
        // Its line where the file's reader knows it, else 0.
        int line = 0;
    };

    // Empty when the wizard is refused.
    QByteArray image;
    QByteArray translationTemplate;
    // The warning that keeps wdlc from writing an image, or empty.
    QString refusal;
    QList<Problem> problems;
};

#endif
