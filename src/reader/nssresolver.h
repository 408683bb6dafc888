#ifndef WDLC_NSSRESOLVER_H
#define WDLC_NSSRESOLVER_H

#include <QHash>
#include <QStringList>

#include <functional>

class WizardItemsModel;

// Works out, once a whole wizard has been read, which screens each next-screen
// script can lead to: the screens its SNS lines name and those of the NSS
// scripts it calls, depth first.
class NssResolver
{
public:
    // A problem with one NSS script, at the script's line.
    using Warn = std::function<void(const QString &text, int line)>;

    // calls: NSS script id to the targets of its SNS and CALL lines; order:
    // the NSS ids in the order to visit them.
    static void resolve(const Warn &warn, WizardItemsModel *scripts, WizardItemsModel *screens,
                        const QHash<QString, QStringList> &calls, const QStringList &order);
};

#endif
