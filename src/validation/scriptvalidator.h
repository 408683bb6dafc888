#ifndef WDLC_SCRIPTVALIDATOR_H
#define WDLC_SCRIPTVALIDATOR_H

class WdlWizard;

// Resolves every script command's arguments to items and numbers, checks them
// and fills the wizard's CSIV file map.
class ScriptValidator
{
public:
    explicit ScriptValidator(WdlWizard *wizard) : m_wizard(wizard) {}

    // Checks every script not validated yet; resolved commands are skipped.
    void validateScripts();

private:
    WdlWizard *m_wizard;
};

#endif
