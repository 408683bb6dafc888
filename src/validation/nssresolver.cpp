#include "validation/nssresolver.h"

#include "core/wizarditemsmodel.h"
#include "items/wdltokenscript.h"
#include "reader/wdlparser.h"

#include <QDebug>
#include <QSet>

namespace {

class Walk
{
public:
    Walk(WizardItemsModel *screens, const QHash<QString, QStringList> &calls)
        : m_screens(screens), m_calls(calls)
    {
    }

    // The screens reachable from the NSS script key. Every key is visited at
    // most once per walk, so scripts that call each other in a cycle end.
    void appendReachable(const QString &key, QStringList *out)
    {
        for (const QString &word : m_calls.value(key)) {
            if (m_screens->containsId(word)) {
                out->append(word);
            } else if (m_calls.contains(word)) {
                qDebug() << "Recursive scripts!";
                if (visit(word))
                    appendReachable(word, out);
            }
        }
    }

    bool visit(const QString &key)
    {
        if (m_visited.contains(key))
            return false;
        m_visited.insert(key);
        return true;
    }

private:
    WizardItemsModel *m_screens;
    const QHash<QString, QStringList> &m_calls;
    QSet<QString> m_visited;
};

} // namespace

void NssResolver::resolve(WdlParser *reader, WizardItemsModel *scripts, WizardItemsModel *screens,
                          const QHash<QString, QStringList> &calls, const QStringList &order)
{
    for (const QString &nssId : order) {
        auto *nss = scripts->byId<WdlTokenScript>(nssId);
        if (!nss)
            continue;
        Walk walk(screens, calls);
        walk.visit(nssId);
        QStringList nextScreens;
        for (const QString &word : calls.value(nssId)) {
            if (WdlToken *screen = screens->itemById(word)) {
                nextScreens.append(word);
                screen->addReference();
            } else if (calls.contains(word)) {
                if (walk.visit(word))
                    walk.appendReachable(word, &nextScreens);
            } else if (scripts->containsId(word)) {
                reader->addWarning(QStringLiteral("Next Screen Scripts (NSS) can only call other NSS scripts. Script ")
                                       + nssId + QStringLiteral(" calls script ") + word,
                                   nss->sourceLine());
            }
        }
        nss->setNextScreens(nextScreens);
    }
}
