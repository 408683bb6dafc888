#ifndef WDLC_NSSRESOLVER_H
#define WDLC_NSSRESOLVER_H

#include <QHash>
#include <QStringList>

class WdlParser;
class WizardItemsModel;

// Works out, once a whole wizard has been read, which screens each next-screen
// script can lead to: the screens its SNS lines name and those of the NSS
// scripts it calls, depth first.
class NssResolver
{
public:
    // calls: NSS script id to the targets of its SNS and CALL lines; order:
    // the NSS ids in the order to visit them. Warnings go to the reader.
    static void resolve(WdlParser *reader, WizardItemsModel *scripts, WizardItemsModel *screens,
                        const QHash<QString, QStringList> &calls, const QStringList &order);
};

#endif
