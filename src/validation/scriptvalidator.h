#ifndef WDLC_SCRIPTVALIDATOR_H
#define WDLC_SCRIPTVALIDATOR_H

struct WizardContent;

// Resolves every script command's arguments to items and numbers, checks them
// and fills the wizard's CSIV file map.
class ScriptValidator
{
public:
    explicit ScriptValidator(const WizardContent &content) : m_content(content) {}

    // Checks every script not validated yet; resolved commands are skipped.
    void validateScripts();

private:
    const WizardContent &m_content;
};

#endif
