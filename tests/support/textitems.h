#ifndef WDLC_TESTS_TEXTITEMS_H
#define WDLC_TESTS_TEXTITEMS_H

#include "core/wizarditemsmodel.h"
#include "items/wdltokentext.h"

#include <memory>
#include <vector>

// A text collection built in a test, numbered as the wizard numbers it,
// without a wizard around it.
class TextItems
{
public:
    TextItems &add(const char *id, const char *text, const char *help = "")
    {
        m_items.emplace_back(new WdlTokenText(QString::fromUtf8(id), QString::fromUtf8(text), QString::fromUtf8(help)));
        m_model.addItem(m_items.back().get());
        return *this;
    }
    const WizardItemsModel *model() const { return &m_model; }

private:
    std::vector<std::unique_ptr<WdlTokenText>> m_items;
    WizardItemsModel m_model;
};

#endif
