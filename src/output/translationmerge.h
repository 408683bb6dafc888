#ifndef WDLC_TRANSLATIONMERGE_H
#define WDLC_TRANSLATIONMERGE_H

#include "output/translationdocument.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class WizardItemsModel;

// What the maintenance of translation files knows of the wizard's texts, and
// the merges: a file's state against the wizard (status), the wizard's
// current texts into a file (update), and translations from elsewhere (import).
class TranslationMerge
{
public:
    // One text or help of the wizard, as the template lists it.
    struct Source
    {
        QString id;
        QString type;
        QString english;
    };

    struct Review
    {
        int total = 0;
        int translated = 0;
        // Entries named by entryName, in the wizard's order, or in the
        // file's for those the wizard does not have.
        QStringList missing;
        QStringList unknown;
        QStringList stale;
        QStringList empty;
        QStringList duplicates;
    };

    struct UpdateCounts
    {
        int found = 0;
        int added = 0;
        int stale = 0;
        int obsolete = 0;
    };

    // A translation for one text or help, as a PO file gives it.
    struct Translation
    {
        QString id;
        QString type;
        // The English the translation was made from.
        QString english;
        QString text;
        bool fuzzy = false;
        // The English before it changed, for a fuzzy translation; may be null.
        QString previousEnglish;
    };

    // Every non-empty text and help, in the wizard's order.
    static QList<Source> sourcesOf(const WizardItemsModel *texts);
    // How lists and PO contexts name an entry: "pump_type_name/help".
    static QString entryName(const QString &id, const QString &type);
    // Whether a translated entry waits for review: marked stale, or made
    // from an English text that is not the current one.
    static bool isStale(const TranslationDocument::Entry &entry, const QString &english);

    static Review review(const TranslationDocument &document, const QList<Source> &sources);
    // Brings the file in line with the wizard: records the English of every
    // translation, marks those whose English changed stale, adds what is new
    // as waiting entries, and turns what left the wizard obsolete (or drops
    // it unless keepObsolete).
    static UpdateCounts update(TranslationDocument &document, const QList<Source> &sources, bool keepObsolete);
    // Writes the translations into the file; an empty text turns the entry
    // back into a waiting one. Every translation must name a source.
    static void apply(TranslationDocument &document, const QList<Source> &sources,
                      const QList<Translation> &translations);
};

#endif
