#include "validation/wizardfile.h"

#include "core/fileurl.h"
#include "core/warning.h"
#include "core/wdlwizard.h"

#include <QFile>

namespace {

const char kHeader[] = "FILE_FORMAT_VERSION 1.0\n"
                       "FILE_VERSION 1.0\n"
                       "RUN_MODE 1\n"
                       "PRODUCT_TYPE 3\n"
                       "PRODUCT_NAME \"ABCDEF\"\n"
                       "DATABASE_VERSION 1.0\n"
                       "FILE_NAME \"w.wdl\"\n";

} // namespace

void PrintTo(const WarningsRow &row, std::ostream *out)
{
    *out << row.name;
}

std::string rowName(const ::testing::TestParamInfo<WarningsRow> &info)
{
    return info.param.name;
}

WizardFile::WizardFile(const QString &wdl, bool withHeader)
{
    QFile file(m_dir.filePath(QLatin1String(kFileName)));
    if (!file.open(QIODevice::WriteOnly))
        ADD_FAILURE() << "cannot write " << file.fileName().toStdString();
    QByteArray bytes = wdl.toUtf8();
    if (!bytes.endsWith('\n'))
        bytes += '\n';
    if (withHeader)
        bytes += kHeader;
    file.write(bytes);
}

WdlWizard *WizardFile::open()
{
    WdlWizard *wizard = WdlWizard::instance();
    wizard->openWDLFile(FileUrl::fromLocalPath(m_dir.filePath(QLatin1String(kFileName))));
    return wizard;
}

