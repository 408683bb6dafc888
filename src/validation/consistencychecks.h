#ifndef WDLC_CONSISTENCYCHECKS_H
#define WDLC_CONSISTENCYCHECKS_H

struct WizardContent;

// The checks that run over a whole wizard once it has been read: the header's
// tags, items that lack what they need, and items that nothing uses.
class ConsistencyChecks
{
public:
    explicit ConsistencyChecks(const WizardContent &content) : m_content(content) {}

    void checkMetaInformation();
    void checkMissingItems();
    // The wizard announces its validity after this check, once it has screens.
    void checkUnusedItems();

private:
    const WizardContent &m_content;
};

#endif
