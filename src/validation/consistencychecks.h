#ifndef WDLC_CONSISTENCYCHECKS_H
#define WDLC_CONSISTENCYCHECKS_H

class WdlWizard;

// The checks that run over a whole wizard once it has been read: the header's
// tags, items that lack what they need, and items that nothing uses.
class ConsistencyChecks
{
public:
    explicit ConsistencyChecks(WdlWizard *wizard) : m_wizard(wizard) {}

    void checkMetaInformation();
    void checkMissingItems();
    void checkUnusedItems();

private:
    WdlWizard *m_wizard;
};

#endif
