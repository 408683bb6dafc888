#include "reader/nssresolver.h"

#include "base/diagnostics.h"

#include "core/wizarditemsmodel.h"
#include "items/wdltokenscript.h"

#include <QDebug>

#include <vector>

namespace {

// No wizard that fits the drive can make the walks longer: every NSS script
// and every SNS or CALL line in one costs at least 7 bytes of the 65535 of
// wizard data, so scripts times lines stay below (65535 / 14) squared.
constexpr qint64 kMaxWalkSteps = 22000000;

// One word of an NSS script's SNS and CALL lines, looked up once.
struct Target
{
    enum Kind { Screen, NssKey, Script, Other };
    Kind kind;
    int key; // the NSS key's index, for NssKey
    QString word;
};

// The screens reachable from NSS keys, walked depth first with an explicit
// stack, so that a chain of any length neither overflows the call stack nor
// recurses without end: every key is visited at most once per walk.
class Walks
{
public:
    explicit Walks(const std::vector<std::vector<Target>> &targets) : m_targets(targets), m_stamp(targets.size(), 0) {}

    void begin(int root)
    {
        ++m_walk;
        m_stamp[size_t(root)] = m_walk;
    }
    bool visit(int key)
    {
        if (m_stamp[size_t(key)] == m_walk)
            return false;
        m_stamp[size_t(key)] = m_walk;
        return true;
    }
    // Appends the screens reachable from key; false once the step budget of
    // all walks is spent, leaving out appends from there on.
    bool appendReachable(int key, QStringList *out)
    {
        struct Frame
        {
            int key;
            size_t next;
        };
        std::vector<Frame> stack{{key, 0}};
        bool nested = false;
        while (!stack.empty()) {
            Frame &top = stack.back();
            const std::vector<Target> &words = m_targets[size_t(top.key)];
            if (top.next == words.size()) {
                stack.pop_back();
                continue;
            }
            const Target &t = words[top.next++];
            if (++m_steps > kMaxWalkSteps)
                return false;
            if (t.kind == Target::Screen) {
                out->append(t.word);
            } else if (t.kind == Target::NssKey) {
                nested = true;
                if (visit(t.key))
                    stack.push_back({t.key, 0});
            }
        }
        // Once a walk, not once a key met: long chains would flood the output.
        if (nested)
            qDebug() << "Recursive scripts!";
        return true;
    }

private:
    const std::vector<std::vector<Target>> &m_targets;
    std::vector<int> m_stamp;
    int m_walk = 0;
    qint64 m_steps = 0;
};

} // namespace

void NssResolver::resolve(const Warn &warn, WizardItemsModel *scripts, WizardItemsModel *screens,
                          const QHash<QString, QStringList> &calls, const QStringList &order)
{
    QHash<QString, int> keys;
    for (const QString &key : order)
        keys.insert(key, keys.size());
    std::vector<std::vector<Target>> targets(size_t(order.size()));
    for (int k = 0; k < order.size(); ++k) {
        for (const QString &word : calls.value(order.at(k))) {
            if (screens->containsId(word))
                targets[size_t(k)].push_back({Target::Screen, -1, word});
            else if (keys.contains(word))
                targets[size_t(k)].push_back({Target::NssKey, keys.value(word), word});
            else if (scripts->containsId(word))
                targets[size_t(k)].push_back({Target::Script, -1, word});
            else
                targets[size_t(k)].push_back({Target::Other, -1, word});
        }
    }

    Walks walks(targets);
    bool withinBudget = true;
    for (int k = 0; k < order.size(); ++k) {
        const QString &nssId = order.at(k);
        auto *nss = scripts->byId<WdlTokenScript>(nssId);
        if (!nss)
            continue;
        walks.begin(k);
        QStringList nextScreens;
        for (const Target &t : targets[size_t(k)]) {
            if (t.kind == Target::Screen) {
                nextScreens.append(t.word);
                screens->itemById(t.word)->addReference();
            } else if (t.kind == Target::NssKey) {
                if (withinBudget && walks.visit(t.key) && !walks.appendReachable(t.key, &nextScreens)) {
                    withinBudget = false;
                    warn(Diagnostics::text(Diagnostics::NssTooDeep, {nssId}), nss->sourceLine());
                }
            } else if (t.kind == Target::Script) {
                warn(Diagnostics::text(Diagnostics::NssCallsOtherScript, {nssId, t.word}), nss->sourceLine());
            }
        }
        nss->setNextScreens(nextScreens);
    }
}
