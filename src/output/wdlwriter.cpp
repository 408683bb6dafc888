#include "output/wdlwriter.h"

WdlWriter::WdlWriter(WizardItemsModel *const *models, const WdlHeader *header)
    : m_models(models), m_header(header)
{
}

QString WdlWriter::text() const
{
    return QString();
}

bool WdlWriter::writeWdl(const QString &) const
{
    return false;
}
