#ifndef WDLC_TESTS_WIZARDFILE_H
#define WDLC_TESTS_WIZARDFILE_H

#include "support/qtprinters.h"
#include "support/wizardfiles.h"

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <ostream>

class WdlWizard;

// One case of a warnings table: WDL text and every warning that opening it
// must give, in order, as "file:line: text".
struct WarningsRow
{
    const char *name;
    QString wdl;
    QStringList expected;
    // Appends the seven header tags after the text, so that line numbers in
    // the expected warnings are those of the text as written in the row.
    bool withHeader = true;
};

void PrintTo(const WarningsRow &row, std::ostream *out);

// Test names for INSTANTIATE_TEST_SUITE_P: the row's name.
std::string rowName(const ::testing::TestParamInfo<WarningsRow> &info);

// A WDL file named kFileName in a fresh temporary directory, opened by the wizard.
class WizardFile
{
public:
    static constexpr const char *kFileName = "w.wdl";

    explicit WizardFile(const QString &wdl, bool withHeader = true);

    // Opens the file with the wizard and returns the wizard.
    WdlWizard *open();
    QString directory() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};


#endif
