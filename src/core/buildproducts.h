#ifndef WDLC_BUILDPRODUCTS_H
#define WDLC_BUILDPRODUCTS_H

#include <QByteArray>
#include <QHash>
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
        // What the file is: the build leaves a translation out of the image
        // but goes on; a CSIV file it cannot carry leaves a script pointing
        // nowhere.
        enum Source { TranslationFile, CsivFile };

        QString text;
        // The file the problem is about: a translation or CSIV file, or
        // empty for the wizard as a whole.
        QString file;
        // Its line where the file's reader knows it, else 0.
        int line = 0;
        Source source = TranslationFile;
    };

    // One text or help that a translation file put into the image.
    struct TranslatedText
    {
        QString file;
        int line = 0;
        QString textId;
        bool isHelp = false;
        QString content;
    };

    // Empty when the wizard is refused.
    QByteArray image;
    QByteArray translationTemplate;
    // The warning that keeps wdlc from writing an image, or empty.
    QString refusal;
    QList<Problem> problems;
    // Every entry of the translation files the image carries, in the order read.
    QList<TranslatedText> translatedTexts;
    // The texts that hold a CSIV file's path, by id, as they were before the
    // build left them out of the dictionaries.
    QHash<QString, QString> csivPathTexts;
};

#endif
