#include "output/translationmerge.h"

#include "core/wizarditemsmodel.h"
#include "items/wdltokentext.h"

#include <QSet>

namespace {

using Entry = TranslationDocument::Entry;

QString nameOf(const Entry &entry)
{
    return TranslationMerge::entryName(entry.id, entry.type);
}

QHash<QString, QString> englishByName(const QList<TranslationMerge::Source> &sources)
{
    QHash<QString, QString> out;
    for (const TranslationMerge::Source &s : sources)
        out.insert(TranslationMerge::entryName(s.id, s.type), s.english);
    return out;
}

// The first entry of each name that the file keeps, waiting or translated.
QHash<QString, int> livingEntries(const TranslationDocument &document)
{
    QHash<QString, int> out;
    const QList<Entry> &entries = document.entries();
    for (int i = 0; i < entries.size(); ++i) {
        if (!document.isRemoved(i) && entries.at(i).kind != TranslationDocument::Obsolete
            && !out.contains(nameOf(entries.at(i))))
            out.insert(nameOf(entries.at(i)), i);
    }
    return out;
}

// New entries follow the wizard's order: each goes after the entry of the
// nearest text before it that the file has, or first when none has one.
int placeNew(TranslationDocument &document, const QList<TranslationMerge::Source> &sources,
             const QHash<QString, Entry> &pending)
{
    const QHash<QString, int> living = livingEntries(document);
    int anchor = -1;
    int added = 0;
    for (const TranslationMerge::Source &s : sources) {
        const QString name = TranslationMerge::entryName(s.id, s.type);
        if (living.contains(name)) {
            anchor = living.value(name);
        } else if (pending.contains(name)) {
            document.insertEntry(anchor, pending.value(name));
            ++added;
        }
    }
    return added;
}

// The English of a translation is recorded once; when it changes, the
// translation is kept, marked with the English it was made from.
void refresh(Entry &entry, const QString &english)
{
    if (!entry.source.isNull() && entry.source != english && entry.stale.isNull())
        entry.stale = entry.source;
    entry.source = english;
}

} // namespace

QList<TranslationMerge::Source> TranslationMerge::sourcesOf(const WizardItemsModel *texts)
{
    QList<Source> out;
    for (const WdlToken *item : texts->items()) {
        const auto *text = static_cast<const WdlTokenText *>(item);
        if (!text->getText().isEmpty())
            out.append({text->id(), QStringLiteral("text"), text->getText()});
        if (!text->getHelp().isEmpty())
            out.append({text->id(), QStringLiteral("help"), text->getHelp()});
    }
    return out;
}

QString TranslationMerge::entryName(const QString &id, const QString &type)
{
    return id + QLatin1Char('/') + type;
}

bool TranslationMerge::isStale(const Entry &entry, const QString &english)
{
    return !entry.stale.isNull() || (!entry.source.isNull() && entry.source != english);
}

TranslationMerge::Review TranslationMerge::review(const TranslationDocument &document, const QList<Source> &sources)
{
    const QHash<QString, QString> english = englishByName(sources);
    Review out;
    QHash<QString, int> first;
    QHash<QString, int> seen;
    QSet<QString> unknown;
    const QList<Entry> &entries = document.entries();
    for (int i = 0; i < entries.size(); ++i) {
        if (entries.at(i).kind != TranslationDocument::Translated)
            continue;
        const QString name = nameOf(entries.at(i));
        if (!first.contains(name))
            first.insert(name, i);
        if (++seen[name] == 2)
            out.duplicates.append(name);
        if (!english.contains(name) && !unknown.contains(name)) {
            unknown.insert(name);
            out.unknown.append(name);
        }
    }
    for (const Source &s : sources) {
        const QString name = entryName(s.id, s.type);
        ++out.total;
        if (!first.contains(name)) {
            out.missing.append(name);
            continue;
        }
        const Entry &entry = entries.at(first.value(name));
        if (entry.content.isEmpty())
            out.empty.append(name);
        else if (isStale(entry, s.english))
            out.stale.append(name);
        else
            ++out.translated;
    }
    return out;
}

TranslationMerge::UpdateCounts TranslationMerge::update(TranslationDocument &document, const QList<Source> &sources,
                                                        bool keepObsolete)
{
    const QHash<QString, QString> english = englishByName(sources);
    UpdateCounts counts;
    counts.found = sources.size();
    const QList<Entry> entries = document.entries();
    QSet<QString> translated;
    for (const Entry &entry : entries) {
        if (entry.kind == TranslationDocument::Translated && english.contains(nameOf(entry)))
            translated.insert(nameOf(entry));
    }
    const auto retire = [&](int i, Entry entry) {
        ++counts.obsolete;
        if (!keepObsolete) {
            document.removeEntry(i);
            return;
        }
        entry.kind = TranslationDocument::Obsolete;
        document.setEntry(i, entry);
    };

    QSet<QString> revived;
    for (int i = 0; i < entries.size(); ++i) {
        Entry entry = entries.at(i);
        const QString name = nameOf(entry);
        const bool known = english.contains(name);
        switch (entry.kind) {
        case TranslationDocument::Translated:
            if (!known) {
                retire(i, entry);
                continue;
            }
            refresh(entry, english.value(name));
            if (!entry.stale.isNull())
                ++counts.stale;
            document.setEntry(i, entry);
            break;
        case TranslationDocument::Untranslated:
            // Waiting for a text that has gone, or translated meanwhile:
            // there is nothing to keep.
            if (!known || translated.contains(name)) {
                document.removeEntry(i);
                continue;
            }
            entry.source = english.value(name);
            document.setEntry(i, entry);
            break;
        case TranslationDocument::Obsolete:
            // A text that came back finds its old translation again.
            if (known && !translated.contains(name) && !revived.contains(name)) {
                revived.insert(name);
                entry.kind = TranslationDocument::Translated;
                refresh(entry, english.value(name));
                if (!entry.stale.isNull())
                    ++counts.stale;
                document.setEntry(i, entry);
            } else if (!keepObsolete) {
                ++counts.obsolete;
                document.removeEntry(i);
            } else {
                ++counts.obsolete;
            }
            break;
        }
    }

    QHash<QString, Entry> pending;
    for (const Source &s : sources) {
        Entry entry;
        entry.kind = TranslationDocument::Untranslated;
        entry.id = s.id;
        entry.type = s.type;
        entry.source = s.english;
        entry.content = QLatin1String("");
        pending.insert(entryName(s.id, s.type), entry);
    }
    counts.added = placeNew(document, sources, pending);
    return counts;
}

void TranslationMerge::apply(TranslationDocument &document, const QList<Source> &sources,
                             const QList<Translation> &translations)
{
    const QList<Entry> &entries = document.entries();
    // The entry each translation lands in: the first translated one, else a
    // waiting one, else an obsolete one, which comes back.
    QHash<QString, int> target;
    for (int kind :
         {TranslationDocument::Translated, TranslationDocument::Untranslated, TranslationDocument::Obsolete}) {
        for (int i = 0; i < entries.size(); ++i) {
            if (!document.isRemoved(i) && entries.at(i).kind == kind && !target.contains(nameOf(entries.at(i))))
                target.insert(nameOf(entries.at(i)), i);
        }
    }
    QHash<QString, Entry> pending;
    for (const Translation &t : translations) {
        const QString name = entryName(t.id, t.type);
        Entry entry;
        entry.id = t.id;
        entry.type = t.type;
        if (target.contains(name))
            entry = entries.at(target.value(name));
        if (t.text.isEmpty()) {
            // Cleared in the PO file: the entry waits again.
            if (!target.contains(name) || entry.kind != TranslationDocument::Translated)
                continue;
            entry.kind = TranslationDocument::Untranslated;
            entry.stale = QString();
            entry.source = t.english;
            entry.content = QLatin1String("");
            document.setEntry(target.value(name), entry);
            continue;
        }
        // Confirmed unless fuzzy; a fuzzy one keeps what it was made from.
        QString stale;
        if (t.fuzzy) {
            if (!t.previousEnglish.isNull())
                stale = t.previousEnglish;
            else if (!entry.stale.isNull())
                stale = entry.stale;
            else if (!entry.source.isNull() && entry.source != t.english)
                stale = entry.source;
            else
                stale = t.english;
        }
        entry.kind = TranslationDocument::Translated;
        entry.source = t.english;
        entry.stale = stale;
        entry.content = t.text;
        if (target.contains(name))
            document.setEntry(target.value(name), entry);
        else
            pending.insert(name, entry);
    }
    placeNew(document, sources, pending);
}
